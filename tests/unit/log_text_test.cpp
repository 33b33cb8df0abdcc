// The limits of the log's two fixed buffers: the formatted text and the text with CR LF line ends.
// How line ends are converted the log tests show.
#include "log_text.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>

namespace {

// Converts text; the line buffer starts full of 'x', so a missing terminator shows.
std::string Convert(const std::string& text) {
  char line[kLineBufferSize];
  std::memset(line, 'x', sizeof line);
  const std::size_t length = ConvertLineEnds(text.c_str(), line);
  EXPECT_EQ(std::strlen(line), length) << "length and terminator disagree";
  return std::string(line, length);
}

TEST(LogTextTest, ConversionStopsAt2046AndCompletesAPairBegunAt2045) {
  const std::string a2044(2044, 'a');
  const std::string a2045 = a2044 + 'a';
  EXPECT_EQ(Convert(a2045 + "abcd"), a2045 + 'a');
  EXPECT_EQ(Convert(a2045 + "\nrest"), a2045 + "\r\n");  // 2047: the pair is completed
  EXPECT_EQ(Convert(a2044 + "\n\n"), a2044 + "\r\n");    // at 2046 the second line feed is dropped
  EXPECT_EQ(Convert(a2045 + "\r\n"), a2045 + "\r");      // an input CR LF can be cut between
}

std::string Format(const char* format, ...) {
  char buffer[kMessageBufferSize];
  std::memset(buffer, 'x', sizeof buffer);
  va_list arguments;
  va_start(arguments, format);
  FormatLogText(buffer, format, arguments);
  va_end(arguments);
  return buffer;  // stops at the zero; without one, ASan reports the read past the buffer
}

TEST(LogTextTest, FormattedTextIsCutTo2047) {
  const std::string exact(2047, 'e');
  EXPECT_EQ(Format("%s", exact.c_str()), exact);
  EXPECT_EQ(Format("%s%s", exact.c_str(), "tail"), exact);
  EXPECT_EQ(Format("%s %d%%", "at", 100), "at 100%");
}

}  // namespace
