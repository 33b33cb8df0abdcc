#include "demo_game.h"

#include <new>
#include <utility>

#include "deliberate_throw.h"
#include "engine_trace.h"
#include "faults.h"
#include "screenshot.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 60;
constexpr int kFramesBeforeScreenshot = 30;

}  // namespace

DemoGame::DemoGame(std::string className) : className_(std::move(className)) {}

int DemoGame::Init(const char* commandLine, int showCommand) {
  EngineTrace("CGame::Init(\"%s\", %d)", TraceText(commandLine), showCommand);
  options_ = ParseGameOptions(commandLine);
  sinceInit_.Restart();
  const int result = Start(showCommand);
  EngineTrace("CGame::Init = %d", result);
  return result;
}

int DemoGame::Start(int showCommand) {
  if (options_.throwSite == ThrowSite::kInit) ThrowDeliberately(options_.throwKind);
  if (options_.initResult) return *options_.initResult;

  if (!options_.noWindow) {
    GameWindow::Events events;
    events.quitRequested = [this] { Quit(0); };
    events.throwMessage = [this] { ThrowDeliberately(options_.throwKind); };
    window_ = GameWindow::Open(className_, showCommand, std::move(events));
    if (!window_) return 1;  // no display, most likely: the game cannot run
  }
  // "Quit after 0 idle calls": before the first one.
  if (options_.quitAfterCalls == 0u) Quit(options_.quitCode);
  return 0;
}

void DemoGame::Reserved() {
  // The program never calls this slot; if one does, the trace shows it.
  EngineTrace("CGame::Reserved()");
}

int DemoGame::OnIdle() {
  CountIdleCall();
  ++idleCalls_;
  if (idleCalls_ == 1) OnFirstIdle();

  if (options_.quitAfterCalls && idleCalls_ >= *options_.quitAfterCalls) Quit(options_.quitCode);
  if (options_.quitAfterMs && sinceInit_.Milliseconds() >= *options_.quitAfterMs) {
    Quit(options_.quitCode);
  }
  // Without a window there is nothing to wait for: the program's loop may be timed with it.
  if (window_) RenderWhenDue();
  return 0;
}

void DemoGame::OnFirstIdle() {
  if (options_.throwSite == ThrowSite::kIdle) ThrowDeliberately(options_.throwKind);
  // Thrown while the program dispatches this message to the window procedure.
  if (options_.throwSite == ThrowSite::kWindow && options_.throwKind != ThrowKind::kNone &&
      window_) {
    window_->PostThrowMessage();
  }
  if (options_.faultOnThread) {
    RaiseDeliberateFaultOnOwnThread(options_.fault, options_.faultDepth);
  } else {
    RaiseDeliberateFault(options_.fault, options_.faultDepth);
  }
}

void DemoGame::RenderWhenDue() {
  const double now = sinceInit_.Seconds();
  if (now < nextFrameTime_) {
    Sleep(1);  // nothing due yet: give the processor back instead of spinning
    return;
  }
  window_->RenderFrame(now);
  // After a stall (a dragged window, a slow machine) start afresh instead of catching up.
  nextFrameTime_ =
      now - nextFrameTime_ > kFrameSeconds ? now + kFrameSeconds : nextFrameTime_ + kFrameSeconds;
  if (++renderedFrames_ == kFramesBeforeScreenshot && !options_.screenshotFile.empty()) {
    TakeScreenshot();
  }
  if (options_.quitAfterFrames &&
      static_cast<std::uint64_t>(renderedFrames_) >= *options_.quitAfterFrames) {
    Quit(options_.quitCode);
  }
}

void DemoGame::TakeScreenshot() {
  const char* file = options_.screenshotFile.c_str();
  if (SaveClientAreaAsBmp(window_->Handle(), file)) {
    EngineTrace("CGame::screenshot %s", file);
  } else {
    EngineTrace("CGame::screenshot %s failed", file);
  }
}

void DemoGame::Quit(std::uint32_t code) {
  if (quitPosted_) return;
  quitPosted_ = true;
  EngineTrace("CGame::quit %u", code);
  PostQuitMessage(static_cast<int>(code));
}

void DemoGame::Destroy(unsigned int flag) {
  EngineTrace("CGame::Destroy(%u)", flag);
  // The deleting destructor of the engine the program was written for: flag bit 0 frees.
  this->~DemoGame();
  if (flag & 1) ::operator delete(this);
}
