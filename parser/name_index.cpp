#include "name_index.h"

#include "text_case.h"

const CZKPARSE_KEYWORD* NameIndex::Find(const CZKPARSE_KEYWORD* head, const char* name) {
  TakeIn(head);
  const auto found = nodes_.find(Key(name));
  return found == nodes_.end() ? nullptr : found->second.back();
}

void NameIndex::Drop(const CZKPARSE_KEYWORD* head, const CZKPARSE_KEYWORD* stop) {
  TakeIn(head);
  // From the head on, each node is the newest of its name left in the index.
  for (const CZKPARSE_KEYWORD* node = head; node != stop; node = node->next) {
    const auto found = nodes_.find(Key(node->name));
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
    nodes_[Key((*oldest)->name)].push_back(*oldest);
  }
  head_ = head;
}

std::string NameIndex::Key(const char* name) const {
  std::string key(name);
  if (ignoreCase_) LowerCase(&key[0]);
  return key;
}
