#include "game_run.h"

namespace harness {

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
