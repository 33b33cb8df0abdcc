#include "report_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

// The text of the ReportText that lives, if any.
char* cursor = nullptr;
// One past the last byte of that text's buffer.
char* end = nullptr;

}  // namespace

ReportText::ReportText() : buffer_(static_cast<char*>(std::malloc(kReportTextSize))) {
  if (buffer_ == nullptr) return;
  *buffer_ = '\0';
  cursor = buffer_;
  end = buffer_ + kReportTextSize;
}

ReportText::~ReportText() {
  if (buffer_ == nullptr) return;
  cursor = nullptr;
  end = nullptr;
  std::free(buffer_);
}

void ReportAppend(const char* format, ...) {
  if (cursor == nullptr || ReportTextFull()) return;
  // One byte is always kept for the terminating zero.
  const std::size_t room = static_cast<std::size_t>(end - cursor) - 1;
  va_list arguments;
  va_start(arguments, format);
  // _vsnprintf returns -1 (and leaves no zero) when the text is cut.
  const int count = _vsnprintf(cursor, room, format, arguments);
  va_end(arguments);
  if (count < 0 || static_cast<std::size_t>(count) >= room) {
    cursor = end - 1;
    *cursor = '\0';
  } else {
    cursor += count;
  }
}

bool ReportTextFull() {
  return cursor != nullptr && cursor == end - 1;
}
