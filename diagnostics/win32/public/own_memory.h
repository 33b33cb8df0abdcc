// Reading this process's own memory without faulting: ReadProcessMemory fails where a plain read
// would raise an access violation, so code that inspects memory of unknown state (a crash
// report's variables, a foreign exception record) never faults a second time.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies size bytes at address into bytes; false when any of them cannot be read.
bool ReadOwnMemory(std::uint64_t address, void* bytes, std::size_t size);
