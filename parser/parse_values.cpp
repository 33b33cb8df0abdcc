#include "parse_values.h"

#include <cstring>

namespace {

// Names and strings are private heap copies: no value points into a parser's text, which is freed
// long before the statement list.
char* CopyText(const char* text) {
  if (text == nullptr) return nullptr;
  const std::size_t size = std::strlen(text) + 1;
  char* copy = new char[size];
  std::memcpy(copy, text, size);
  return copy;
}

// One element alone, without what follows it; null for a type code without a value class.
CZKPARSE_PARAM* CopyElement(const CZKPARSE_PARAM* element) {
  switch (element->type) {
    case ZKPARSE_TYPE_INT:
      return new CZKPARSE_INT(static_cast<const CZKPARSE_INT*>(element)->value, element->name);
    case ZKPARSE_TYPE_FLOAT:
      return new CZKPARSE_FLOAT(static_cast<const CZKPARSE_FLOAT*>(element)->value, element->name);
    case ZKPARSE_TYPE_STRING:
      return new CZKPARSE_STRING(static_cast<const CZKPARSE_STRING*>(element)->value,
                                 element->name);
    default:
      return nullptr;
  }
}

// Copies the chain from first on, one element at a time, so that a long chain costs no stack.
CZKPARSE_PARAM* CopyFollowing(const CZKPARSE_PARAM* first) {
  CZKPARSE_PARAM* head = nullptr;
  CZKPARSE_PARAM** tail = &head;
  try {
    for (const CZKPARSE_PARAM* element = first; element != nullptr; element = element->next) {
      CZKPARSE_PARAM* copy = CopyElement(element);
      if (copy == nullptr) break;
      *tail = copy;
      tail = &copy->next;
    }
  } catch (...) {
    DeleteParamChain(head);  // out of memory: nothing half-copied stays behind
    throw;
  }
  return head;
}

}  // namespace

CZKPARSE_PARAM::CZKPARSE_PARAM(std::int32_t typeCode, const char* valueName)
    : next(nullptr), type(typeCode), name(CopyText(valueName)) {}

CZKPARSE_PARAM::~CZKPARSE_PARAM() {
  delete[] name;
}

CZKPARSE_INT::CZKPARSE_INT(std::int32_t intValue, const char* valueName)
    : CZKPARSE_PARAM(ZKPARSE_TYPE_INT, valueName), value(intValue) {}

CZKPARSE_INT::CZKPARSE_INT(const CZKPARSE_INT& other)
    : CZKPARSE_PARAM(ZKPARSE_TYPE_INT, other.name), value(other.value) {
  next = CopyFollowing(other.next);
}

CZKPARSE_INT::~CZKPARSE_INT() = default;

CZKPARSE_FLOAT::CZKPARSE_FLOAT(float floatValue, const char* valueName)
    : CZKPARSE_PARAM(ZKPARSE_TYPE_FLOAT, valueName), value(floatValue) {}

CZKPARSE_FLOAT::CZKPARSE_FLOAT(const CZKPARSE_FLOAT& other)
    : CZKPARSE_PARAM(ZKPARSE_TYPE_FLOAT, other.name), value(other.value) {
  next = CopyFollowing(other.next);
}

CZKPARSE_FLOAT::~CZKPARSE_FLOAT() = default;

CZKPARSE_STRING::CZKPARSE_STRING(const char* stringValue, const char* valueName)
    : CZKPARSE_PARAM(ZKPARSE_TYPE_STRING, valueName), value(CopyText(stringValue)) {}

CZKPARSE_STRING::CZKPARSE_STRING(const CZKPARSE_STRING& other)
    : CZKPARSE_PARAM(ZKPARSE_TYPE_STRING, other.name), value(CopyText(other.value)) {
  try {
    next = CopyFollowing(other.next);
  } catch (...) {
    delete[] value;  // this destructor does not run for a constructor that throws
    throw;
  }
}

CZKPARSE_STRING::~CZKPARSE_STRING() {
  delete[] value;
}

CZKPARSE_PARAM* AppendParam(CZKPARSE_PARAM* chain, CZKPARSE_PARAM* param) {
  if (chain == nullptr) return param;
  CZKPARSE_PARAM* last = chain;
  while (last->next != nullptr) last = last->next;
  last->next = param;
  return chain;
}

CZKPARSE_PARAM* CopyParamChain(const CZKPARSE_PARAM* head) {
  if (head == nullptr) return nullptr;
  switch (head->type) {
    case ZKPARSE_TYPE_INT:
      return new CZKPARSE_INT(*static_cast<const CZKPARSE_INT*>(head));
    case ZKPARSE_TYPE_FLOAT:
      return new CZKPARSE_FLOAT(*static_cast<const CZKPARSE_FLOAT*>(head));
    case ZKPARSE_TYPE_STRING:
      return new CZKPARSE_STRING(*static_cast<const CZKPARSE_STRING*>(head));
    default:
      return nullptr;
  }
}

void DeleteParamChain(CZKPARSE_PARAM* head) {
  while (head != nullptr) {
    CZKPARSE_PARAM* following = head->next;
    delete head;
    head = following;
  }
}
