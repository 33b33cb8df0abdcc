#include "parse_keyword.h"

#include <cstring>

namespace {

// One node alone: its name, its values and its block, not its successor.
void CopyContents(CZKPARSE_KEYWORD& copy, const CZKPARSE_KEYWORD& original) {
  std::memcpy(copy.name, original.name, sizeof copy.name);
  copy.params = CopyParamChain(original.params);
  if (original.block != nullptr) copy.block = new CZKPARSE_KEYWORD(*original.block);
}

}  // namespace

CZKPARSE_KEYWORD::CZKPARSE_KEYWORD() : name{}, params(nullptr), next(nullptr), block(nullptr) {}

// Delegates to the plain constructor so that, should an allocation fail half-way, the destructor
// frees what was copied so far. The list is followed in a loop, as the destructor does.
CZKPARSE_KEYWORD::CZKPARSE_KEYWORD(const CZKPARSE_KEYWORD& other) : CZKPARSE_KEYWORD() {
  CopyContents(*this, other);
  CZKPARSE_KEYWORD** tail = &next;
  for (const CZKPARSE_KEYWORD* node = other.next; node != nullptr; node = node->next) {
    *tail = new CZKPARSE_KEYWORD;
    CopyContents(**tail, *node);
    tail = &(*tail)->next;
  }
}

CZKPARSE_KEYWORD::~CZKPARSE_KEYWORD() {
  DeleteParamChain(params);
  delete block;
  // A settings file may hold a great many statements: the rest of the list is deleted in a loop,
  // each node cut off from its successor first, so that the stack never grows with the list's
  // length. Only nested blocks recurse, one level per bracket.
  CZKPARSE_KEYWORD* node = next;
  next = nullptr;
  while (node != nullptr) {
    CZKPARSE_KEYWORD* following = node->next;
    node->next = nullptr;
    delete node;
    node = following;
  }
}
