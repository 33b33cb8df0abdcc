#include "own_memory.h"

#include <windows.h>

namespace {

// Whether a plain read of every byte in [address, end) would succeed: each page committed,
// readable, and neither no-access nor a guard page. ReadProcessMemory alone is no such test: Wine
// reads a process's own no-access and guard pages through it without complaint (measured, Wine 8,
// both builds), where Windows fails the call and a plain read faults.
bool Readable(std::uintptr_t address, std::uintptr_t end) {
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  while (address < end) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(reinterpret_cast<LPCVOID>(address), &region, sizeof region) == 0) return false;
    if (region.State != MEM_COMMIT || (region.Protect & PAGE_GUARD) != 0 ||
        (region.Protect & kReadable) == 0) {
      return false;
    }
    const auto regionEnd = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    if (regionEnd <= address) return false;
    address = regionEnd;
  }
  return true;
}

}  // namespace

bool ReadOwnMemory(std::uint64_t address, void* bytes, std::size_t size) {
  if (address > UINTPTR_MAX - size) return false;
  const auto start = static_cast<std::uintptr_t>(address);
  if (!Readable(start, start + size)) return false;
  SIZE_T read = 0;
  return ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<LPCVOID>(start), bytes, size,
                           &read) &&
         read == size;
}
