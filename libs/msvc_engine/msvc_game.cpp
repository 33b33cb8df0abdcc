#include "msvc_game.h"

#include "cleanup.h"
#include "command_words.h"
#include "engine_exceptions.h"
#include "engine_window.h"
#include "structured_faults.h"
#include "system_api.h"

namespace {

struct ActionName {
  IdleAction action;
  const char* word;
};

const ActionName kActions[] = {
    {IdleAction::kQuit, "quit"},
    {IdleAction::kCatch, "catch"},
    {IdleAction::kThrow, "throw"},
    {IdleAction::kThrowOther, "throw-other"},
    {IdleAction::kWindowThrow, "window-throw"},
    {IdleAction::kFault, "fault"},
    {IdleAction::kHandledFault, "handled-fault"},
    {IdleAction::kProbe, "probe"},
    {IdleAction::kDeclinedFault, "declined-fault"},
    {IdleAction::kFinallyFault, "finally-fault"},
    {IdleAction::kOverflow, "overflow"},
    {IdleAction::kFileSystemFault, "filesystem-fault"},
    {IdleAction::kFaultingCleanup, "faulting-cleanup"},
};

// The call on which the action happens: the game has run a little by then.
constexpr int kActionCall = 3;

__declspec(noinline) void ThrowNumber(int number) {
  throw number;
}

__declspec(noinline) void ThrowBadState() {
  const SaysWhenDestroyed cleanup("msvc engine: the throwing function's local destroyed\n");
  throw CBadStateException();
}

__declspec(noinline) void ThrowPastFaultingCleanup() {
  const FaultsWhenDestroyed cleanup;
  throw CBadStateException();
}

}  // namespace

int MsvcGame::Init(const char* commandLine, int /*showCommand*/) {
  const char* action = FindWordValue(commandLine, "-do=");
  for (const ActionName& name : kActions) {
    if (ValueIs(action, name.word)) action_ = name.action;
  }
  quitCode_ = ValueNumber(FindWordValue(commandLine, "-quit-code="), 0);
  if (action_ == IdleAction::kWindowThrow) {
    if (!CreateEngineWindow()) return 1;
    // Before any quit is posted: a pending quit would close the program's message box at once.
    AskWindowToThrow();
  }
  return 0;
}

void MsvcGame::Reserved() {}

int MsvcGame::OnIdle() {
  if (++idleCalls_ == kActionCall) PostQuitMessage(RunAction());
  return 0;
}

MsvcGame::~MsvcGame() {}

int MsvcGame::RunAction() {
  switch (action_) {
    case IdleAction::kQuit:
      break;
    case IdleAction::kCatch:
      // An exception that escaped this catch would end the program, not reach the quit below.
      try {
        ThrowNumber(quitCode_);
      } catch (int number) {
        return number;
      }
      break;
    case IdleAction::kThrow:
      ThrowBadState();
      break;
    case IdleAction::kThrowOther:
      ThrowNumber(quitCode_);
      break;
    case IdleAction::kWindowThrow:  // thrown already, from the first message dispatched
      break;
    case IdleAction::kFault:
      FaultUnhandled();
      break;
    case IdleAction::kHandledFault:
      FaultHandledByEngine();
      break;
    case IdleAction::kProbe:
      // A wrong answer must not pass for the right one.
      if (!IsBadReadPtr(reinterpret_cast<const void*>(16), 4)) return -3;
      break;
    case IdleAction::kDeclinedFault:
      FaultPastDecliningFilter();
      break;
    case IdleAction::kFinallyFault:
      FaultUnderFinally();
      break;
    case IdleAction::kOverflow:
      OverflowUnderFinally();
      break;
    case IdleAction::kFileSystemFault:
      FaultInFileSystemUnderFinally();
      break;
    case IdleAction::kFaultingCleanup:
      ThrowPastFaultingCleanup();
      break;
  }
  return quitCode_;
}
