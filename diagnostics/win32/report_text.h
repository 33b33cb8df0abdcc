// The crash report's text while one report is being made: a buffer of fixed size, owned by a
// ReportText from its allocation to its release, and the cursor at which the stack walk and the
// variable dump append, each piece formatted by the Windows runtime's printf rules. Appending
// never writes past the buffer, however deep the stack: once the buffer is full, further text is
// cut off.
#pragma once

#include <cstddef>

#include "printf_format.h"

// Size of the report text, the terminating zero included.
constexpr std::size_t kReportTextSize = 131072;

// The text of one report. Allocated for the report alone: the program keeps no memory for crashes
// it may never have. While it lives, ReportAppend writes into it; there is one at a time.
class ReportText {
 public:
  ReportText();
  ~ReportText();
  ReportText(const ReportText&) = delete;
  ReportText& operator=(const ReportText&) = delete;

  // False when the buffer could not be allocated; nothing is appended then.
  bool Ready() const { return buffer_ != nullptr; }
  // The zero-terminated text so far.
  const char* Contents() const { return buffer_; }

 private:
  char* buffer_;
};

// Appends the formatted text at the cursor and advances it. Text that does not fit is cut at the
// end of the buffer; the text always stays zero-terminated. Does nothing while no ReportText is
// ready.
void ReportAppend(const char* format, ...) VANTOR_PRINTF_FORMAT(1, 2);

// True once the buffer holds as much text as it can.
bool ReportTextFull();
