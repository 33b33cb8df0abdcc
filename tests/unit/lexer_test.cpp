// The lexer's contract that no script shows: a name too long for its buffer leaves the buffer
// holding as much of it as fits, and the position after that part.
#include <gtest/gtest.h>

#include <string>

#include "parser_fixture.h"

namespace {

using LexerTest = ParserTest;

TEST_F(LexerTest, ANameTooLongKeepsWhatFitsAndGivesTheRestBack) {
  const std::string name40 = "A_9" + std::string(37, 'z');
  WriteFile("script.txt", "x\n" + name40 + " ");
  CZKParse parser("script.txt");
  parser.pos = 2;
  parser.line = 2;
  char buffer[40];
  EXPECT_EQ(parser.ReadWord(buffer, sizeof buffer), 1);
  EXPECT_EQ(std::string(buffer), name40.substr(0, 39));
  EXPECT_EQ(parser.pos, 2u + 39u);
  EXPECT_EQ(LogText(), Report("word limit exceeded", 2, name40 + " "));
}

}  // namespace
