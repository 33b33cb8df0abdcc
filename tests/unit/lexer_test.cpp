// The lexer's contract that no script shows: a name too long for its buffer leaves the buffer
// holding as much of it as fits and the position at the first byte that found no room; a name
// that runs to the end of the text is whole, but the caller learns that the text ended.
#include "lexer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

void Load(Lexer& lexer, const std::string& text) {
  char* const copy = new char[text.size()];
  std::memcpy(copy, text.data(), text.size());
  lexer.Take(copy, static_cast<std::uint32_t>(text.size()));
}

TEST(LexerTest, ANameTooLongKeepsWhatFitsAndStopsAtTheByteWithoutRoom) {
  const std::string name40 = "A_9" + std::string(37, 'z');
  Lexer lexer;
  Load(lexer, "x\n" + name40 + " " + name40.substr(1));
  lexer.pos = 2;
  char buffer[40];
  EXPECT_EQ(lexer.ReadWord(buffer, sizeof buffer), 1);
  EXPECT_EQ(std::string(buffer), name40.substr(0, 39));
  EXPECT_EQ(lexer.pos, 2u + 39u);
  EXPECT_EQ(lexer.line, 1);

  lexer.pos = 2 + 40 + 1;
  EXPECT_EQ(lexer.ReadWord(buffer, sizeof buffer), kEndOfText);
  EXPECT_EQ(std::string(buffer), name40.substr(1));
}

}  // namespace
