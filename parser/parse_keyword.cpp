#include "parse_keyword.h"

CZKPARSE_KEYWORD::CZKPARSE_KEYWORD() : name{}, params(nullptr), next(nullptr), block(nullptr) {}

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
