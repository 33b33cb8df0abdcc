#include "name_index.h"

#include <cstdint>

#include "text_case.h"

const CZKPARSE_KEYWORD* NameIndex::Find(const CZKPARSE_KEYWORD* head, const char* name) {
  TakeIn(head);
  const auto found = nodes_.find(MakeKey(name));
  return found == nodes_.end() ? nullptr : found->second.back();
}

void NameIndex::Drop(const CZKPARSE_KEYWORD* head, const CZKPARSE_KEYWORD* stop) {
  TakeIn(head);
  // From the head on, each node is the newest of its name left in the index.
  for (const CZKPARSE_KEYWORD* node = head; node != stop; node = node->next) {
    const auto found = nodes_.find(MakeKey(node->name));
    found->second.pop_back();
    if (found->second.empty()) nodes_.erase(found);
  }
  head_ = stop;
}

void NameIndex::TakeIn(const CZKPARSE_KEYWORD* head) {
  if (head == head_) return;
  std::vector<const CZKPARSE_KEYWORD*> added;
  const CZKPARSE_KEYWORD* node = head;
  for (; node != nullptr && node != head_; node = node->next) added.push_back(node);
  // The walk missed the head taken in: this is another list, and added holds all of it.
  if (node == nullptr) nodes_.clear();
  for (auto oldest = added.rbegin(); oldest != added.rend(); ++oldest) {
    nodes_[MakeKey((*oldest)->name)].push_back(*oldest);
  }
  head_ = head;
}

NameIndex::Key NameIndex::MakeKey(const char* name) const {
  Key key = {};
  for (std::size_t at = 0; at + 1 < sizeof key.bytes && name[at] != '\0'; ++at) {
    key.bytes[at] = ignoreCase_ ? LowerAscii(name[at]) : name[at];
  }
  return key;
}

// FNV-1a over the name's bytes, up to its first zero.
std::size_t NameIndex::KeyHash::operator()(const Key& key) const {
  std::uint32_t hash = 2166136261u;
  for (std::size_t at = 0; at < sizeof key.bytes && key.bytes[at] != '\0'; ++at) {
    hash = (hash ^ static_cast<unsigned char>(key.bytes[at])) * 16777619u;
  }
  return hash;
}
