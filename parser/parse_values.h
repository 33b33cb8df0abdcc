// The typed values of the configuration-script parser, chained through next into the argument
// list of a call, the value of a constant or the parameter list of a keyword declaration.
#pragma once

#include <cstdint>

// Type codes of a value.
enum : std::int32_t { ZKPARSE_TYPE_INT = 0, ZKPARSE_TYPE_FLOAT = 1, ZKPARSE_TYPE_STRING = 2 };

// The base, and on its own the element of a keyword declaration's parameter list: a declared type
// without a value. A value does not own next: whoever owns the chain deletes it element by element,
// so that no destructor recurses along a chain.
class CZKPARSE_PARAM {
 public:
  // Copies name; null stays null.
  CZKPARSE_PARAM(std::int32_t typeCode, const char* valueName);
  virtual ~CZKPARSE_PARAM();

  CZKPARSE_PARAM(const CZKPARSE_PARAM&) = delete;
  CZKPARSE_PARAM& operator=(const CZKPARSE_PARAM&) = delete;

  CZKPARSE_PARAM* next;
  std::int32_t type;
  // The variable's name for a value read from a variable reference; otherwise null.
  char* name;
};

// The copy constructors of the three value classes copy the whole chain from the copied element
// on: each following element by the class its type code names. An element of another type code
// (a declaration's plain parameter) ends the copy there.
class CZKPARSE_INT : public CZKPARSE_PARAM {
 public:
  CZKPARSE_INT(std::int32_t intValue, const char* valueName);
  CZKPARSE_INT(const CZKPARSE_INT& other);
  CZKPARSE_INT& operator=(const CZKPARSE_INT&) = delete;
  ~CZKPARSE_INT() override;

  std::int32_t value;
};

class CZKPARSE_FLOAT : public CZKPARSE_PARAM {
 public:
  CZKPARSE_FLOAT(float floatValue, const char* valueName);
  CZKPARSE_FLOAT(const CZKPARSE_FLOAT& other);
  CZKPARSE_FLOAT& operator=(const CZKPARSE_FLOAT&) = delete;
  ~CZKPARSE_FLOAT() override;

  float value;
};

class CZKPARSE_STRING : public CZKPARSE_PARAM {
 public:
  // Copies the string; null stays null.
  CZKPARSE_STRING(const char* stringValue, const char* valueName);
  CZKPARSE_STRING(const CZKPARSE_STRING& other);
  CZKPARSE_STRING& operator=(const CZKPARSE_STRING&) = delete;
  ~CZKPARSE_STRING() override;

  char* value;
};

// Attaches param after the last element of chain and returns the chain's head; for an empty chain
// param itself is the head.
CZKPARSE_PARAM* AppendParam(CZKPARSE_PARAM* chain, CZKPARSE_PARAM* param);

// A deep copy of the value chain that starts at head, made by the copy constructor of head's own
// class; null for a null head or one of another type code.
CZKPARSE_PARAM* CopyParamChain(const CZKPARSE_PARAM* head);

// Deletes a chain element by element; null does nothing.
void DeleteParamChain(CZKPARSE_PARAM* head);
