// Throwing on request, so that tests can see how the program handles an exception out of the game.
#pragma once

#include "options.h"

// Writes "CGame::throw KIND" to the trace and throws: a CEngineException("bad state", "world", 12)
// for kEngine, a std::runtime_error for kOther, the same as an MSVC-built engine throws them for
// kMsvcEngine and kMsvcOther, a damaged record of that kind for kMsvcDamaged. For kMsvcCaught the
// engine exception is thrown the MSVC way and caught again inside the engine, which then goes on
// ("CGame::caught msvc-engine"). Does nothing for kNone.
void ThrowDeliberately(ThrowKind kind);
