// The calls into the engine while the game runs. What escapes the engine unwinds the engine's own
// frames first (its destructors and __finally blocks run, as under the compiler it was made with),
// then goes on to the outermost handlers as our own exception (foreign_call.h).
#pragma once

#include <windows.h>

class CGame;

int EngineInit(CGame& game, LPSTR commandLine, int showCommand);
void EngineOnIdle(CGame& game);
// DispatchMessageA, which calls the engine's window procedure.
void EngineDispatch(const MSG& message);
