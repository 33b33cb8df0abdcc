// The log's text handling: line ends made CR LF, and the limits of the two fixed buffers.
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

std::string Format(char (&buffer)[kMessageBufferSize], const char* format, ...) {
  std::memset(buffer, 'x', sizeof buffer);
  va_list arguments;
  va_start(arguments, format);
  FormatLogText(buffer, format, arguments);
  va_end(arguments);
  return buffer;  // stops at the zero; without one, ASan reports the read past the buffer
}

TEST(LogTextTest, LineFeedsBecomeCrLf) {
  EXPECT_EQ(Convert("a\nb"), "a\r\nb");
  EXPECT_EQ(Convert("*** Exception ***\n"), "*** Exception ***\r\n");
  EXPECT_EQ(Convert("a\r\nb\r\n"), "a\r\nb\r\n");  // already CR LF: unchanged
  EXPECT_EQ(Convert("\nfirst"), "\nfirst");        // a line feed at the very start stays alone
  EXPECT_EQ(Convert("\n\n"), "\n\r\n");
  EXPECT_EQ(Convert("a\n\nb"), "a\r\n\r\nb");
  EXPECT_EQ(Convert("a\rb\r"), "a\rb\r");  // carriage returns alone are copied as they are
  EXPECT_EQ(Convert(""), "");
}

TEST(LogTextTest, ConversionStopsAt2046AndCompletesAPairBegunAt2045) {
  const std::string a2044(2044, 'a');
  const std::string a2045(2045, 'a');
  const std::string a2046(2046, 'a');

  EXPECT_EQ(Convert(a2046 + "bcd"), a2046);
  EXPECT_EQ(Convert(a2045 + "\nrest"), a2045 + "\r\n");  // 2047: the pair is completed
  EXPECT_EQ(Convert(a2044 + "\n\n"), a2044 + "\r\n");    // at 2046 the second line feed is dropped
  EXPECT_EQ(Convert(a2045 + "\r\n"), a2045 + "\r");      // an input CR LF can be cut between

  // A message that is all line feeds: LF, then CR LF pairs, the last begun at 2045.
  std::string expected = "\n";
  for (int i = 0; i < 1023; ++i) expected += "\r\n";
  EXPECT_EQ(Convert(std::string(2047, '\n')), expected);
}

TEST(LogTextTest, FormattedTextIsCutTo2047) {
  char buffer[kMessageBufferSize];
  const std::string head(2000, 'h');
  const std::string tail(100, 't');
  EXPECT_EQ(Format(buffer, "%s%s", head.c_str(), tail.c_str()), head + tail.substr(0, 47));

  const std::string exact(2047, 'e');
  EXPECT_EQ(Format(buffer, "%s", exact.c_str()), exact);
  EXPECT_EQ(Format(buffer, "%s %d%%", "at", 100), "at 100%");
}

}  // namespace
