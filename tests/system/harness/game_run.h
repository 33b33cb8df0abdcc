// Runs the launcher of a private game folder with the libraries' call trace switched on.
#pragma once

#include <string>
#include <vector>

#include "game_folder.h"
#include "process_run.h"

namespace harness {

struct GameRun {
  RunResult result;
  std::vector<std::string> trace;  // the libraries' trace lines, in call order
};

// Starts folder's Vantor.exe with arguments; extra is applied to the options before the start
// (environment, working folder, time limit).
GameRun RunGame(const GameFolder& folder, const std::string& arguments,
                RunOptions options = RunOptions());

}  // namespace harness
