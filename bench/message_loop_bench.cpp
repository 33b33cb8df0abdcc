// How fast Vantor.exe's message loop gives the game its idle work, against a bare PeekMessageA
// loop in this process that calls the same engine's OnIdle. Both run the demo game without a
// window for the same time (the engine posts WM_QUIT that long after Init), and idle calls per
// second are compared. Run under Wine from the build's bin folder, with VANTOR_GAME_DIR set:
//   message_loop_bench [milliseconds-per-run] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine_api.h"
#include "harness/game_run.h"

namespace {

double BareLoopRate(unsigned milliseconds) {
  CGame* game = CreateGame("TestGame", GetModuleHandleA(nullptr), 1);
  const std::string options = "-no-window -quit-after-ms=" + std::to_string(milliseconds);
  std::vector<char> commandLine(options.begin(), options.end());
  commandLine.push_back('\0');
  if (game->Init(commandLine.data(), SW_SHOWDEFAULT) != 0) return 0;

  unsigned long long calls = 0;
  MSG message;
  for (;;) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else {
      game->OnIdle();
      ++calls;
    }
  }
  game->Destroy(1);
  return calls * 1000.0 / milliseconds;
}

double LauncherLoopRate(unsigned milliseconds) {
  harness::GameFolder folder;
  const auto run =
      harness::RunGame(folder, "-no-window -quit-after-ms=" + std::to_string(milliseconds));
  for (const std::string& line : run.trace) {
    unsigned long long calls = 0;
    if (std::sscanf(line.c_str(), "CGame::OnIdle x %llu", &calls) == 1) {
      return calls * 1000.0 / milliseconds;
    }
  }
  return 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned milliseconds = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  std::vector<double> launcher, bare;
  // Alternate, so that drift in the machine's load touches both alike.
  for (int run = 0; run < runs; ++run) {
    launcher.push_back(LauncherLoopRate(milliseconds));
    bare.push_back(BareLoopRate(milliseconds));
    std::printf("run %d: launcher %.0f/s, bare %.0f/s\n", run + 1, launcher.back(), bare.back());
  }
  const double launcherRate = Median(launcher), bareRate = Median(bare);
  std::printf("median idle calls per second: launcher %.0f, bare loop %.0f, ratio %.3f\n",
              launcherRate, bareRate, bareRate > 0 ? launcherRate / bareRate : 0.0);
  return launcherRate > 0 && bareRate > 0 ? 0 : 1;
}
