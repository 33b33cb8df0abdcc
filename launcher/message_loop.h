#pragma once

#include <windows.h>

class CGame;

// Dispatches every pending message and, whenever the queue is empty, gives the game one unit of
// idle work; never waits. Returns when WM_QUIT arrives, which is then in message.
void RunMessageLoop(CGame& game, MSG& message);
