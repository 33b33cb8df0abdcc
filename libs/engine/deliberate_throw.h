// Throwing on request, so that tests can see how the program handles an exception out of the game.
#pragma once

#include "options.h"

// Writes "CGame::throw KIND" to the trace and throws: a CEngineException("bad state", "world", 12)
// for kEngine, a std::runtime_error for kOther. Does nothing for kNone. (An engine built by MSVC,
// which throws as structured exceptions, is libs/msvc_engine.)
void ThrowDeliberately(ThrowKind kind);
