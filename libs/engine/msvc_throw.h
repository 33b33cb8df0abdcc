// Throwing as an engine built by MSVC does, so that tests can drive the program with the kind of
// engine it is made for: a structured exception with code 0xE06D7363 whose parameters lead to the
// thrown object and the compiler's description of its type, built here by hand.
#pragma once

enum class MsvcThrow {
  kEngine,   // a CBadStateException, derived from CEngineException("bad state", "world", 12)
  kOther,    // a std::runtime_error
  kDamaged,  // an engine exception whose catchable-type array is cut short
};

// Raises the exception; never returns.
[[noreturn]] void RaiseMsvcException(MsvcThrow kind);

// Raises the engine exception and catches it again in a frame of the engine, through the
// system's frame-based exception handling as an MSVC try/catch does. True when it was caught.
bool RaiseAndCatchMsvcException();
