#include "message_loop.h"

#include "engine_calls.h"

void RunMessageLoop(CGame& game, MSG& message) {
  for (;;) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      EngineDispatch(message);
    } else {
      EngineOnIdle(game);
    }
  }
}
