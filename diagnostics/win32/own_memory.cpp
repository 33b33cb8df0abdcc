#include "own_memory.h"

#include <windows.h>

bool ReadOwnMemory(std::uint64_t address, void* bytes, std::size_t size) {
  if (address > UINTPTR_MAX - size) return false;
  SIZE_T read = 0;
  return ReadProcessMemory(GetCurrentProcess(),
                           reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)), bytes,
                           size, &read) &&
         read == size;
}
