// The limit of the log's buffer for the text with CR LF line ends, where a pair may be cut. How
// line ends are converted the log tests show; that long texts are cut, the parser's long-line test.
#include "log_text.h"

#include <gtest/gtest.h>

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

}  // namespace
