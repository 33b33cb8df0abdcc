#include "engine_calls.h"

#include "engine_api.h"
#include "escaped_exception.h"
#include "foreign_call.h"

namespace {

// Named functions rather than lambdas: each is a frame of its own in a crash report.
struct InitCall {
  CGame& game;
  LPSTR commandLine;
  int showCommand;
  int result;
};

void RunInit(void* argument) {
  auto& call = *static_cast<InitCall*>(argument);
  call.result = call.game.Init(call.commandLine, call.showCommand);
}

void RunOnIdle(void* game) {
  static_cast<CGame*>(game)->OnIdle();
}

void RunDispatch(void* message) {
  DispatchMessageA(static_cast<const MSG*>(message));
}

}  // namespace

int EngineInit(CGame& game, LPSTR commandLine, int showCommand) {
  InitCall call = {game, commandLine, showCommand, 0};
  CallForeign(RunInit, &call, EngineExceptionOf);
  return call.result;
}

void EngineOnIdle(CGame& game) {
  CallForeign(RunOnIdle, &game, EngineExceptionOf);
}

void EngineDispatch(const MSG& message) {
  CallForeign(RunDispatch, const_cast<MSG*>(&message), EngineExceptionOf);
}
