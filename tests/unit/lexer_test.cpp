// The lexer over a loaded script: line counting, comments and names.
#include <gtest/gtest.h>

#include <string>

#include "parser_fixture.h"

namespace {

using LexerTest = ParserTest;

TEST_F(LexerTest, ErrorAfterThreeLinesOfCommentsIsOnLine4WithLfOrCrLf) {
  for (const std::string end : {"\n", "\r\n"}) {
    RestartLog();
    // Line feeds inside a line comment, inside a block comment and between tokens.
    auto parser = Load("// one" + end + "/* two" + end + "*/ \t" + end + "  5;" + end + "x");
    EXPECT_EQ(parser->SkipSpace(), 0);
    int error = 0;
    EXPECT_EQ(parser->ReadInt(&error), nullptr);
    EXPECT_EQ(LogText(), Report("invalid termination of integer", 4, "  5;"));
    // Giving a line feed back takes its line back.
    parser->pos = 6 + end.size();  // just after the first line feed
    EXPECT_EQ(parser->UnreadChar(), 0);
    EXPECT_EQ(parser->line, 3);
  }
}

TEST_F(LexerTest, SkipSpaceStopsAtWhatIsNoBlankOrComment) {
  struct Case {
    std::string text;
    int result;
    unsigned pos;
  };
  for (const Case& c :
       {Case{"", -1, 0}, Case{"  /word", 0, 2}, Case{" /", 0, 1}, Case{"/* a * b ***/x", 0, 13},
        Case{"/* a **/x", 0, 8}, Case{"/***/x", 0, 5}, Case{"/* open *", -1, 9},
        Case{"/* open **", -1, 10}, Case{"// end", -1, 6}, Case{std::string("\0", 1), 0, 0},
        Case{"\xef\xbb\xbf", 0, 0}, Case{"\v", 0, 0}}) {
    SCOPED_TRACE(c.text);
    auto parser = Load(c.text);
    EXPECT_EQ(parser->SkipSpace(), c.result);
    EXPECT_EQ(parser->pos, c.pos);
  }
}

TEST_F(LexerTest, NamesUpTo39Characters) {
  char buffer[40];
  const std::string name39 = "A_9" + std::string(36, 'z');
  EXPECT_EQ(Load(name39 + "(")->ReadWord(buffer, sizeof buffer), 0);
  EXPECT_EQ(std::string(buffer), name39);
  EXPECT_EQ(Load("+x")->ReadWord(buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  // Complete, but the reader cannot know.
  EXPECT_EQ(Load("name")->ReadWord(buffer, sizeof buffer), -1);
  EXPECT_STREQ(buffer, "name");
  EXPECT_EQ(LogText(), "");

  const std::string name40(40, 'n');
  auto parser = Load("x\n" + name40 + " ");
  parser->pos = 2;
  parser->line = 2;
  EXPECT_EQ(parser->ReadWord(buffer, sizeof buffer), 1);
  EXPECT_EQ(std::string(buffer), name40.substr(0, 39));
  EXPECT_EQ(parser->pos, 2u + 39u);  // the 40th character was given back
  EXPECT_EQ(LogText(), Report("word limit exceeded", 2, name40 + " "));
}

TEST_F(LexerTest, ReadOperator) {
  struct Case {
    const char* text;
    int code;
    unsigned pos;
  };
  for (const Case& c : {Case{"==", 1, 2}, Case{"!=", 2, 2}, Case{">a", 3, 1}, Case{"<\n", 4, 1},
                        Case{">=", 5, 2}, Case{"<=", 6, 2}, Case{"=a", 0, 2}, Case{">", 0, 1}}) {
    SCOPED_TRACE(c.text);
    auto parser = Load(c.text);
    EXPECT_EQ(parser->ReadOperator(), c.code);
    EXPECT_EQ(parser->pos, c.pos);
    EXPECT_EQ(parser->line, 1);
  }
}

}  // namespace
