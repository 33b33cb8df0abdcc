// Call trace of our two libraries. When the environment variable VANTOR_TRACE names a file, every
// TraceLine appends one line to it, so that a test can check the exact order of the calls that
// reach the libraries. Without the variable nothing is written and the cost is one check.
#pragma once

#include "printf_format.h"

// True when a trace file is named.
bool TraceEnabled();

// Appends the formatted text and a line feed to the trace file. Lines longer than 1023 characters
// are cut.
void TraceLine(const char* format, ...) VANTOR_PRINTF_FORMAT(1, 2);

// A text argument for a trace line: the text itself, or "(null)" for a null pointer.
inline const char* TraceText(const char* text) {
  return text ? text : "(null)";
}
