#include "handle_table.h"

#include <utility>

namespace vfs {

std::uintptr_t HandleTable::Add(OpenFile file) {
  Slot* freeSlot = FindSlot(0);
  if (!freeSlot) return 0;
  // After a wrap-around (billions of opens) a number may still be live; skip it, and skip 0, which
  // is the null handle.
  while (nextHandle_ == 0 || FindSlot(nextHandle_)) ++nextHandle_;
  freeSlot->handle = nextHandle_++;
  freeSlot->file.emplace(std::move(file));
  return freeSlot->handle;
}

OpenFile* HandleTable::Find(std::uintptr_t handle) {
  Slot* slot = handle ? FindSlot(handle) : nullptr;
  return slot ? &*slot->file : nullptr;
}

bool HandleTable::Remove(std::uintptr_t handle) {
  Slot* slot = handle ? FindSlot(handle) : nullptr;
  if (!slot) return false;
  slot->handle = 0;
  slot->file.reset();
  return true;
}

void HandleTable::Clear() {
  for (Slot& slot : slots_) {
    slot.handle = 0;
    slot.file.reset();
  }
}

HandleTable::Slot* HandleTable::FindSlot(std::uintptr_t handle) {
  for (Slot& slot : slots_) {
    if (slot.handle == handle) return &slot;
  }
  return nullptr;
}

}  // namespace vfs
