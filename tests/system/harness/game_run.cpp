#include "game_run.h"

#include <cstdlib>
#include <cstring>

namespace harness {

bool FaultCodesEmulated() {
  const char* emulated = std::getenv("VANTOR_EMULATED_I386");
  return emulated != nullptr && std::strcmp(emulated, "1") == 0;
}

GameRun RunGame(const GameFolder& folder, const std::string& arguments, RunOptions options) {
  const std::string tracePath = folder.File("trace.txt");
  options.program = folder.Launcher();
  options.arguments = arguments;
  // Started as from the game's own folder unless the test says otherwise.
  if (options.workingFolder.empty()) options.workingFolder = folder.Path();
  options.environment.push_back("VANTOR_TRACE=" + tracePath);
  GameRun run;
  run.result = RunProgram(options);
  run.trace = ReadLines(tracePath);
  return run;
}

}  // namespace harness
