// Finds a name in a newest-first list of CZKPARSE_KEYWORD nodes (the declarations in scope, the
// constants) without walking the list. A script may declare tens of thousands of names; a walk per
// call or per constant use would make the cost of a name grow with its distance from the head, and
// a whole script cost the square of its length.
//
// The list stays what decides; the index only remembers, for each name, the list's nodes of that
// name from the oldest to the newest, and the head up to which it has taken the list in. Nodes
// linked at the head since then are taken in by the next lookup, so whoever adds a node need not
// tell the index. Nodes taken off the head must be dropped from the index before they are deleted.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "parse_keyword.h"

class NameIndex {
 public:
  // Declarations match byte for byte; constants without regard to the case of ASCII letters.
  enum Matching { kExactCase, kIgnoreCase };

  explicit NameIndex(Matching matching) : ignoreCase_(matching == kIgnoreCase) {}

  // What a walk of the list from head would find first: the newest node called name, or null.
  // A head that does not continue the list taken in so far makes the index start over from it.
  const CZKPARSE_KEYWORD* Find(const CZKPARSE_KEYWORD* head, const char* name);

  // Forgets the nodes from head up to, not including, stop: the newest part of the list, which the
  // caller takes off and deletes. Afterwards stop is the head taken in.
  void Drop(const CZKPARSE_KEYWORD* head, const CZKPARSE_KEYWORD* stop);

 private:
  void TakeIn(const CZKPARSE_KEYWORD* head);
  std::string Key(const char* name) const;

  bool ignoreCase_;
  const CZKPARSE_KEYWORD* head_ = nullptr;
  std::unordered_map<std::string, std::vector<const CZKPARSE_KEYWORD*>> nodes_;
};
