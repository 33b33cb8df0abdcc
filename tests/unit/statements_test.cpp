// What the script cases (script_cases/) cannot hold: line ends of odd byte pairs, and the statement
// list as a host uses it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "log_folder_fixture.h"
#include "statement_text.h"
#include "zk_parse.h"

namespace {

using List = std::unique_ptr<CZKPARSE_KEYWORD>;

// A statement list on one line, as the script checker prints it but for the line breaks.
std::string OneLine(const CZKPARSE_KEYWORD* list) {
  return StatementText(list, StatementLayout::kOneLine);
}

class StatementsTest : public LogFolderTest {
 public:
  // Writes the script and parses it as a host does, with no variable callbacks.
  static List Parse(const std::string& bytes) {
    WriteFile("script.txt", bytes);
    return List(ParseScriptFile("script.txt", nullptr, nullptr, nullptr));
  }
};

// A backslash before a line end in a string joins the lines, whichever pair of bytes ends it; a
// second line end stays.
TEST_F(StatementsTest, ABackslashBeforeALineEndJoinsTheLines) {
  for (const std::string end : {"\r\n", "\n\r", "\r", "\n"}) {
    EXPECT_EQ(OneLine(Parse("!s(s) s(\"1\\" + end + "2\")").get()), "s(string \"12\")");
  }
  EXPECT_EQ(OneLine(Parse("!s(s) s(\"1\\\n\n2\")").get()), "s(string \"1\\n2\")");
  EXPECT_EQ(ReadFile("crash.log"), "");
}

// The parsed list lies in an arena that its head owns; a copy is a heap list of its own that lives
// on after the original, with private copies of every text (the sanitizers see any shared piece).
TEST_F(StatementsTest, ACopyIsDeepAndOutlivesTheParsedList) {
  WriteFile("sub/part.ini", "!b(f) b(0.5) $k(s, \"from part\")");
  List list = Parse("!a(i, s) !include(\"sub/part.ini\") a(1, k) { b(2.5) { a(3, \"y\") } } b(4)");
  ASSERT_NE(list, nullptr);
  const List copy(new CZKPARSE_KEYWORD(*list));
  EXPECT_EQ(CZKPARSE_KEYWORD(*list->next->next).next, nullptr);  // a copy of the last node alone
  list.reset();
  EXPECT_EQ(OneLine(copy.get()),
            "b(float 0.5) a(int 1, string \"from part\") { b(float 2.5) { a(int 3, string \"y\") } "
            "} b(float 4)");

  // A long list is copied and deleted in a loop, not one stack frame per node.
  List longList(new CZKPARSE_KEYWORD);
  CZKPARSE_KEYWORD* last = longList.get();
  for (int n = 1; n < 300000; ++n) last = last->next = new CZKPARSE_KEYWORD;
  std::strcpy(last->name, "last");
  const List longCopy(new CZKPARSE_KEYWORD(*longList));
  const CZKPARSE_KEYWORD* node = longCopy.get();
  int count = 1;
  while (node->next != nullptr) node = node->next, ++count;
  EXPECT_EQ(count, 300000);
  EXPECT_STREQ(node->name, "last");
}

}  // namespace
