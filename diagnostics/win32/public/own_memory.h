// Reading this process's own memory without faulting: a read that a plain read would fault on
// (an address not mapped, not committed, no-access or a guard page) fails instead, so that code
// that inspects memory of unknown state (a crash report's variables, a foreign exception record)
// never faults a second time, and never shows what a plain read could not see.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies size bytes at address into bytes; false when any of them cannot be read.
bool ReadOwnMemory(std::uint64_t address, void* bytes, std::size_t size);
