// The crash report's text while one report is being made: a fixed-size buffer and the cursor at
// which the stack walk and the variable dump append, each piece formatted by the Windows runtime's
// printf rules. Appending never writes past the buffer, however deep the stack: once the buffer is
// full, further text is cut off.
#pragma once

#include <cstddef>

#include "log.h"  // VANTOR_LOG_FORMAT

// Size of the report text, the terminating zero included.
constexpr std::size_t kReportTextSize = 131072;

// Starts appending at the beginning of text, which holds kReportTextSize bytes.
void ReportTextStart(char* text);

// Appends the formatted text at the cursor and advances it. Text that does not fit is cut at the
// end of the buffer; the text always stays zero-terminated. Does nothing before ReportTextStart.
void ReportAppend(const char* format, ...) VANTOR_LOG_FORMAT(1, 2);

// True once the buffer holds as much text as it can.
bool ReportTextFull();
