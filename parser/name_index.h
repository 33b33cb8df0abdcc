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

#include <cstddef>
#include <cstring>
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
  // A name as the index compares it: folded if the index ignores case, cut to the longest name
  // and padded with zeros, so that keys compare and copy as whole arrays and making one from a
  // name allocates nothing. A lookup happens for every call and every constant use.
  struct Key {
    char bytes[CZKPARSE_KEYWORD::kNameSize];
    bool operator==(const Key& other) const {
      return std::memcmp(bytes, other.bytes, sizeof bytes) == 0;
    }
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };

  void TakeIn(const CZKPARSE_KEYWORD* head);
  Key MakeKey(const char* name) const;

  bool ignoreCase_;
  const CZKPARSE_KEYWORD* head_ = nullptr;
  std::unordered_map<Key, std::vector<const CZKPARSE_KEYWORD*>, KeyHash> nodes_;
};
