#include "report_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

char* cursor = nullptr;
// One past the last byte of the buffer.
char* end = nullptr;

}  // namespace

void ReportTextStart(char* text) {
  cursor = text;
  end = text + kReportTextSize;
  *cursor = '\0';
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
