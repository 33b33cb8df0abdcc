// The one game this engine plays: it runs under whatever class name the program asks for, shows
// the scene in a window, and carries out the behaviours chosen on its command line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine_api.h"
#include "game_window.h"
#include "options.h"
#include "stopwatch.h"

class DemoGame final : public CGame {
 public:
  explicit DemoGame(std::string className);

  int Init(const char* commandLine, int showCommand) override;
  void Reserved() override;
  int OnIdle() override;
  void Destroy(unsigned int flag) override;

 private:
  // Only Destroy ends the object, as with the engine the program was written for.
  ~DemoGame() = default;

  int Start(int showCommand);
  void OnFirstIdle();
  void RenderWhenDue();
  void TakeScreenshot();
  // Posts the quit message once; later requests are ignored.
  void Quit(std::uint32_t code);

  std::string className_;
  GameOptions options_;
  std::unique_ptr<GameWindow> window_;
  Stopwatch sinceInit_;
  std::uint64_t idleCalls_ = 0;
  bool quitPosted_ = false;
  double nextFrameTime_ = 0;
  int renderedFrames_ = 0;
};
