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

// Whether the 32-bit build runs under qemu's user-mode emulation (on a kernel without 32-bit
// support, which scripts/test announces with VANTOR_EMULATED_I386=1). The emulator hands Wine
// wrong trap numbers there: an access violation arrives as c000001d, a division by zero as
// c0000090, and what tells faults apart by their code (a fault's text, Windows' own guarded
// probes) cannot be checked.
bool FaultCodesEmulated();

// Starts folder's Vantor.exe with arguments; extra is applied to the options before the start
// (environment, working folder, time limit).
GameRun RunGame(const GameFolder& folder, const std::string& arguments,
                RunOptions options = RunOptions());

}  // namespace harness
