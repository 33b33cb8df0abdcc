// The open files, reached by handle numbers instead of pointers. Every handle number is handed out
// once, so a number that was closed (or never handed out) finds no file and gets the failure result
// instead of touching freed memory. The numbers count up from 1, which also keeps traces readable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "open_file.h"

namespace vfs {

class HandleTable {
 public:
  // The program keeps one file open at a time; the bound keeps leaked handles from piling up.
  static constexpr std::size_t kCapacity = 64;

  // Stores the file and returns its new handle number, or 0 when every slot is taken.
  std::uintptr_t Add(OpenFile file);

  // The file of a live handle number, or null.
  OpenFile* Find(std::uintptr_t handle);

  // Closes the file; false when the number is not live.
  bool Remove(std::uintptr_t handle);

  // Closes every file. Numbers keep counting, so handles from before stay dead.
  void Clear();

 private:
  struct Slot {
    std::uintptr_t handle = 0;  // 0: free
    std::optional<OpenFile> file;
  };

  Slot* FindSlot(std::uintptr_t handle);

  std::array<Slot, kCapacity> slots_;
  std::uintptr_t nextHandle_ = 1;
};

}  // namespace vfs
