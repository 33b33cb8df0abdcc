// What a report writes to the log: the message, file and line, the source line around the read
// position, and an empty line.
#include <gtest/gtest.h>

#include <string>

#include "parser_fixture.h"

namespace {

using ReportErrorTest = ParserTest;

TEST_F(ReportErrorTest, ExcerptIsTheLineAroundThePositionPrintedAsData) {
  struct Case {
    unsigned pos;
    const char* excerpt;
  };
  // A position on a line end belongs to the line it ends, one after a line feed to the next.
  for (const Case& c : {Case{0, "one %d"}, Case{6, "one %d"}, Case{7, ""}, Case{8, "two"},
                        Case{11, "two"}, Case{12, ""}, Case{13, "three"}, Case{18, "three"}}) {
    SCOPED_TRACE(c.pos);
    RestartLog();
    auto parser = Load("one %d\r\ntwo\n\nthree");
    parser->pos = c.pos;
    parser->line = 3;
    parser->ReportError("unknown keyword %s", "%s");
    EXPECT_EQ(LogText(), Report("unknown keyword %s", 3, c.excerpt));
    EXPECT_EQ(parser->pos, c.pos);  // reporting changes nothing
  }
  // The search for the line's start stops short of the first byte.
  auto parser = Load("\nab");
  parser->pos = 1;
  parser->ReportError("x");
  EXPECT_STREQ(CZKParse::reportBuffer, "\nab");
}

TEST_F(ReportErrorTest, LongLineIsCutToTheBuffer) {
  std::string line;
  while (line.size() < 9000) line += "0123456789";
  auto parser = Load("first\n" + line + "\nthird");
  parser->pos = 6 + 8500;
  parser->line = 2;
  parser->ReportError("word limit exceeded");
  EXPECT_EQ(std::string(CZKParse::reportBuffer), line.substr(0, 8191));
  // The log cuts its lines shorter than the buffer: the file and line part comes whole, and as
  // much of the line's start as the log takes.
  const std::string log = LogText();
  const std::string head = "[CZKParse] word limit exceeded: in file 'script.txt' in line 2\r\n";
  ASSERT_EQ(log.substr(0, head.size()), head);
  const std::string excerpt = log.substr(head.size(), log.size() - head.size() - 3);
  EXPECT_GT(excerpt.size(), 2000u);
  EXPECT_EQ(excerpt, line.substr(0, excerpt.size()));
  EXPECT_EQ(log.substr(log.size() - 3), "\n\r\n");
}

TEST_F(ReportErrorTest, ParserWithoutTextReportsAnEmptyExcerpt) {
  CZKParse parser("missing.ini");
  parser.ReportError("x");
  EXPECT_EQ(LogText(), Report("x", 1, "", "missing.ini"));
}

}  // namespace
