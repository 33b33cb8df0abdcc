// Plain-language descriptions of Windows exception codes, for crash reports. Portable: the codes
// are plain numbers here.
#pragma once

#include <cstdint>

// The description of code: a fixed sentence for the processor faults the program knows, otherwise
// "unknown exception: <code in lower-case hex>" in a static buffer that the next unknown code
// overwrites (the same pointer is returned each time).
const char* ExceptionCodeText(std::uint32_t code);
