// The statement node: a keyword call with its arguments (and the block written after it), a named
// constant with its single value, or a keyword declaration with its parameter types. A node owns
// its values, its block and the rest of its list, so whoever holds the head of a list owns all of
// it.
//
// Nodes made one by one with new own what hangs from them, as above. A list that a parse returns
// lies instead in the parse's arena, owned by its head (StatementListHead, parse_arena.h):
// deleting that head frees the whole list, and no other node of it may be deleted.
#pragma once

#include <cstdio>

#include "parse_values.h"

class CZKPARSE_KEYWORD {
 public:
  // Longest name plus the terminating zero.
  static constexpr int kNameSize = 40;

  // An empty name and no values, successor or block.
  CZKPARSE_KEYWORD();

  // A deep copy of the node and of everything hanging from it: its values, its block and the rest
  // of its list, so that the copy of a head is a copy of the whole list (an include hands its
  // constants back this way). Walks the list in a loop; only blocks recurse.
  CZKPARSE_KEYWORD(const CZKPARSE_KEYWORD& other);
  // Never assigned: a member-wise assignment would own everything twice.
  CZKPARSE_KEYWORD& operator=(const CZKPARSE_KEYWORD&) = delete;

  // The virtual operations in the order of their table slots: WriteBinary first, then the
  // destructor.

  // Writes the list that starts at this node to stream, which the caller opened for binary
  // writing. Write errors are ignored.
  virtual void WriteBinary(std::FILE* stream);

  virtual ~CZKPARSE_KEYWORD();

  char name[kNameSize];
  CZKPARSE_PARAM* params;
  CZKPARSE_KEYWORD* next;
  CZKPARSE_KEYWORD* block;
};
