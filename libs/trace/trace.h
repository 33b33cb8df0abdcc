// Call trace of our two libraries. When the environment variable VANTOR_TRACE names a file, every
// TraceLine appends one line to it, so that a test can check the exact order of the calls that
// reach the libraries. Without the variable nothing is written and the cost is one check.
#pragma once

#include <cstddef>

#include "printf_format.h"

// One line's buffer, the terminating zero included.
constexpr std::size_t kTraceLineSize = 1024;

// True when a trace file is named.
bool TraceEnabled();

// Appends the formatted text and a line feed to the trace file. Lines longer than
// kTraceLineSize - 1 characters are cut.
void TraceLine(const char* format, ...) VANTOR_PRINTF_FORMAT(1, 2);

// A text argument for a trace line: the text itself, or "(null)" for a null pointer.
inline const char* TraceText(const char* text) {
  return text ? text : "(null)";
}
