// Throwing on request, so that tests can see how the program handles an exception out of the game.
#pragma once

#include "options.h"

// Writes "CGame::throw engine|other" to the trace and throws: a CEngineException("bad state",
// "world", 12) for kEngine, a std::runtime_error for kOther. Does nothing for kNone.
void ThrowDeliberately(ThrowKind kind);
