// The exceptions this engine throws: CEngineException("bad state", "world", 12) as a base of a
// class of the engine's own, as a real engine's exception classes derive from it. The program
// must find the base through the compiler's description of the thrown type, at an offset in the
// object (an ordinary base after another one) or through the virtual-base table.
#pragma once

#include "engine_api.h"

// What a real engine's exceptions might carry besides the base: a word of its own first.
class CErrorDetail {
 public:
  virtual ~CErrorDetail() {}
  int detail = 7;
};

// CEngineException lies after CErrorDetail in the object.
class CBadStateException : public CErrorDetail, public CEngineException {
 public:
  CBadStateException() : CEngineException("bad state", "world", 12) {}
};

// CEngineException is a virtual base: its place is read from the object's virtual-base table.
class CWindowStateException : public virtual CEngineException {
 public:
  CWindowStateException() : CEngineException("bad state", "world", 12) {}
};
