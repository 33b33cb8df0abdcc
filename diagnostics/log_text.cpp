#include "log_text.h"

#include <cstdio>

namespace {

// Output characters after which the conversion takes no further input character. One more slot
// is left for the CR of a pair begun last, and one for the terminating zero.
constexpr std::size_t kConversionLimit = kLineBufferSize - 2;

}  // namespace

void FormatLogText(char (&buffer)[kMessageBufferSize], const char* format, va_list arguments) {
#ifdef _WIN32
  // The program's format rules are those of the Windows runtime's _vsnprintf, which leaves the
  // buffer without a terminator when the text fills it.
  _vsnprintf(buffer, kMessageBufferSize, format, arguments);
#else
  std::vsnprintf(buffer, kMessageBufferSize, format, arguments);
#endif
  buffer[kMessageBufferSize - 1] = '\0';
}

std::size_t ConvertLineEnds(const char* text, char (&line)[kLineBufferSize]) {
  std::size_t out = 0;
  for (std::size_t in = 0; text[in] != '\0' && out < kConversionLimit; ++in) {
    const char character = text[in];
    if (character == '\n' && in > 0 && text[in - 1] != '\r') line[out++] = '\r';
    line[out++] = character;
  }
  line[out] = '\0';
  return out;
}
