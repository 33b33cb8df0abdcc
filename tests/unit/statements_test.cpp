// The grammar above single tokens, through the parser's entry point: calls, constants, keyword
// declarations, includes, blocks, and what bad input leaves in the log.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "parser_fixture.h"
#include "statement_text.h"

namespace {

using List = std::unique_ptr<CZKPARSE_KEYWORD>;

// A statement list on one line, as the script checker prints it but for the line breaks.
std::string OneLine(const CZKPARSE_KEYWORD* list) {
  return StatementText(list, StatementLayout::kOneLine);
}

class StatementsTest : public ParserTest {
 public:
  // Writes the script and parses it as a host does, with no variable callbacks.
  static List Parse(const std::string& bytes, const std::string& name = "script.txt") {
    WriteFile(name, bytes);
    return List(ParseScriptFile(name.c_str(), nullptr, nullptr, nullptr));
  }
  static std::string Failed(const std::string& file = "script.txt") {
    return "Parser: cant parse file '" + file + "'\r\n";
  }
};

struct Accepted {
  std::string text, list;  // list as OneLine writes it; empty for no list
};

// Reports of a failed parse, each on the text's first line (which ends at a line feed or a NUL).
struct Refused {
  std::string text;
  std::vector<std::string> messages;
};

// Each text parses without a report into its list; each refused one fails with its reports.
void Expect(const std::vector<Accepted>& accepted, const std::vector<Refused>& refused = {}) {
  for (const Accepted& c : accepted) {
    SCOPED_TRACE(c.text);
    StatementsTest::RestartLog();
    EXPECT_EQ(OneLine(StatementsTest::Parse(c.text).get()), c.list);
    EXPECT_EQ(StatementsTest::LogText(), "");
  }
  for (const Refused& c : refused) {
    SCOPED_TRACE(c.text);
    StatementsTest::RestartLog();
    EXPECT_EQ(StatementsTest::Parse(c.text), nullptr);
    const std::string line = c.text.substr(0, c.text.find_first_of(std::string("\n\0", 2)));
    std::string log;
    for (const std::string& message : c.messages) log += StatementsTest::Report(message, 1, line);
    EXPECT_EQ(StatementsTest::LogText(), log + StatementsTest::Failed());
  }
}

const std::string kAbc = "!a(i) !b(i) !c(i) ";

TEST_F(StatementsTest, StatementLoop) {
  Expect(
      {
          {"", ""},
          {" \r\n// only a comment\r\n/* and another */ ", ""},
          {"!a(i) $x(i, 1) !b()", ""},
          {kAbc + "a(1) b(2)c(3)", "a(int 1) b(int 2) c(int 3)"},
          {kAbc + "a(1) /* c */\n{ b(2) { c(3) } b(4) }c(5)",
           "a(int 1) { b(int 2) { c(int 3) } b(int 4) } c(int 5)"},
          {kAbc + "a(1) { b(2)", "a(int 1) { b(int 2) }"},  // closed by the end of the text
          {kAbc + "a(1) { } b(2)", "a(int 1) b(int 2)"},
          {kAbc + "a(1) /* never closed", "a(int 1)"},
          {kAbc + "a(1) // no line end", "a(int 1)"},
      },
      {
          {kAbc + "}", {"unexpected closing curly bracket"}},
          {kAbc + "a(1) { } ;", {"unknown keyword "}},
          {kAbc + "{ a(1) }", {"unknown keyword "}},
          {kAbc + "a(1) { !k(i) k(1) } k(2)", {"unknown keyword k"}},
          // A NUL byte starts no statement; nor does a byte-order mark.
          {std::string("!a() a()\0 a()", 13), {"unknown keyword "}},
          {"\xEF\xBB\xBF!a() a()", {"unknown keyword "}},
      });
  // A semicolon after a call is reported, but the parse goes on.
  RestartLog();
  const List list = Parse("!a(i)\na(1); a(2)\n");
  EXPECT_EQ(OneLine(list.get()), "a(int 1) a(int 2)");
  EXPECT_EQ(LogText(), Report("its not c!", 2, "a(1); a(2)"));
}

TEST_F(StatementsTest, KeywordCalls) {
  Expect(
      {
          {"!k(int, string)\nK /* c */ ( 5 , // x\n \"t\" )", "k(int 5, string \"t\")"},
          {"!k() k( )", "k()"},
          {"!k(i) !k(s) k(\"x\")", "k(string \"x\")"},
      },
      {
          {"!k(i, s) k(5, \"t\", 6)", {"closing bracket expected"}},
          {"!k(i) !k(s) k(1)", {"unknown const name '1'"}},
          {"k(1) !k(i)", {"unknown keyword k"}},
          {"!k(i) k()", {"unknown const name ''"}},
          {"!k(i) k 1", {"opening bracket expected"}},
          {"!k(i) k", {"error in call"}},
          {"!k(i, i) k(1 2)", {"comma expected"}},
          {"!k(i) k(1 ", {"closing bracket expected"}},
          {"!s(s) s(\"abc", {"expected ending \""}},
          {"!s(s) s(\"x\", ", {"closing bracket expected"}},
          {std::string(40, 'k') + "()", {"word limit exceeded", "error in call"}},
      });
}

TEST_F(StatementsTest, ConstantDefinitions) {
  Expect(
      {
          {"$A(I, 5) !k(i) k(a) k(A)", "k(int 5) k(int 5)"},
          {"$a(i, 5) $a(i, 6) !k(i) k(a)", "k(int 6)"},
          {"$b(n, 7) $a(i, b) !k(i) k(a)", "k(int 7)"},
          {"$a(F, 1.5) $b(S, \"x\") !k(f, s) k(a, b)", "k(float 1.5, string \"x\")"},
          {"$(i, 5) !k(i) k()", "k(int 5)"},  // the empty name is a name
          {"$a /* c */ ( i , // c\n 5 ) !k(i) k(a)", "k(int 5)"},
          {"!k(i) k(1) { $a(i, 2) } k(a)", "k(int 1) k(int 2)"},  // blocks do not scope them
      },
      {
          {"$a(s, \"x\") !k(i) k(a)", {"'a' const type != 'int'"}},
          {"$a(i, b)", {"unknown const name 'b'"}},
          {"$a(i, 1) $a(i, x)", {"unknown const name 'x'"}},
          {"$a(int, 5)", {"unexpected character in typedef"}},
          {"$a(i 5)", {"unexpected character in typedef"}},
          {"$a(i, 5, 6)", {"unexpected character in typedef"}},
          {"$a()", {"unexpected character in typedef"}},
          {"$a(i", {"unexpected character in typedef"}},
          {"$ a(i, 5)", {"left bracked expected in const def"}},
          {"$a", {"error in const def"}},
      });
}

TEST_F(StatementsTest, KeywordDeclarations) {
  Expect(
      {
          {"!a(i, f, s) a(1, 2.5, \"x\")", "a(int 1, float 2.5, string \"x\")"},
          {"!a(int, float, string) a(1, 2.5, \"x\")", "a(int 1, float 2.5, string \"x\")"},
          {"!a(Number) a(3)", "a(int 3)"},
          {"!a(int width, int /* c */ height) a(1, 2)", "a(int 1, int 2)"},
          {"!AZ(i) AZ(1) az(2)", "az(int 1) az(int 2)"},
      },
      {
          {"!a(,i)", {"unexpected characted in typedef"}},
          {"!a(i,)", {"unexpected characted in typedef"}},
          {"!a(x)", {"unexpected characted in typedef"}},
          {"!a(i", {"unexpected characted in typedef"}},
          {"!a i", {"left bracked expected in typedef"}},
          {"! a(i)", {"left bracked expected in typedef"}},
          {"!a", {"error in typedef"}},
          {"!" + std::string(40, 'a') + "(i)", {"word limit exceeded", "error in typedef"}},
      });
}

TEST_F(StatementsTest, ConditionalIncludesWithEveryOperator) {
  WriteFile("a.ini", "!a(i) a(1)");
  struct Case {
    std::string condition;
    bool holds;
  };
  for (const Case& c : {
           Case{"_int(1 == 1", true},        Case{"_int(1 == 2", false},
           Case{"_int(1 != 2", true},        Case{"_int(1 != 1", false},
           Case{"_int(2 > 1", true},         Case{"_int(1 > 1", false},
           Case{"_int(1 < 2", true},         Case{"_int(2 < 1", false},
           Case{"_int(1 >= 1", true},        Case{"_int(0 >= 1", false},
           Case{"_int(1 <= 1", true},        Case{"_int(2 <= 1", false},
           Case{"_int(-1 < 0", true},        Case{"_int(1 <2", true},
           Case{"_float(0.5 >= 0.5", true},  Case{"_float(0.25 > 0.5", false},
           Case{"_float(0.5 != 0.5", false}, Case{"_float(0.5 == 0.5", true},
           Case{"_float(0.25 < 0.5", true},  Case{"_float(0.5 <= 0.25", false},
       }) {
    Expect({{"!include_if" + c.condition + ", \"a.ini\")", c.holds ? "a(int 1)" : ""}});
  }
  Expect(
      {
          // Constants as operands; a name ends at the operator by itself.
          {"$n(i, 3) !include_if_int(n>2, \"a.ini\")", "a(int 1)"},
          {"$n(f, 3) !include_if_float(n <= 2.5, \"a.ini\")", ""},
          {"!include(\"\") !include_if_int(1 < 2, \"\")", ""},
          // An include name that runs into the end of the text skips the include.
          {kAbc + "a(1) !include(abc", "a(int 1)"},
      },
      {
          {"!include_if_int(1 = 1, \"a.ini\")", {"operator expected in 'include_if_int'"}},
          {"!include_if_int(1 < 2 \"a.ini\")", {"comma expected in 'include_if_int'"}},
          {"!include_if_int 1", {"left bracked expected in 'include_if_int'"}},
          {"!include_if_int(1 < 2, \"a.ini\"", {"right bracked expected in 'include_if_int'"}},
          {"!include \"a.ini\"", {"left bracked expected in include"}},
          {"!INCLUDE(\"a.ini\" x", {"right bracked expected in include"}},
          // The reader's own report comes first, then the directive's.
          {"!include_if_float(1 < x, \"a.ini\")",
           {"unknown const name 'x'", "int expected in 'include_if_float'"}},
          {"!include_if_int(1 < 2, 5)",
           {"unknown const name '5'", "string expected in 'include_if_int'"}},
          // "1<2": a number ends at a value terminator only, so the operand fails first.
          {"!include_if_int(1<2, \"a.ini\")",
           {"invalid termination of integer", "int expected in 'include_if_int'"}},
          {"!include_if_float(1<2, \"a.ini\")",
           {"invalid termination of float", "int expected in 'include_if_float'"}},
      });
}

TEST_F(StatementsTest, IncludesResolveAgainstTheIncludingFilesFolder) {
  WriteFile("b.ini", "!k(i) k(1)");
  WriteFile("sub/b.ini", "!k(i) k(2)");
  WriteFile("sub/c/d.ini", "!include(\"../b.ini\") k(3)");
  WriteFile("sub/a.ini", "!include(\"b.ini\") !include(\"c/d.ini\")");
  for (const char* top : {"sub/a.ini", "sub\\a.ini"}) {
    SCOPED_TRACE(top);
    const List list(ParseScriptFile(top, nullptr, nullptr, nullptr));
    EXPECT_EQ(OneLine(list.get()), "k(int 2) k(int 2) k(int 3)");
  }
  EXPECT_EQ(OneLine(Parse("!include(\"b.ini\")", "game.ini").get()), "k(int 1)");
  EXPECT_EQ(LogText(), "");
}

// Constants flow both ways in text order, and come back from every include, also from one that
// fails. Declarations at an included file's top level join the scope of the directive: to the end
// of the parse, or to the end of the enclosing block, where the one they hid comes back.
TEST_F(StatementsTest, ConstantsAndDeclarationsCrossIncludes) {
  WriteFile("inc.ini", "!j(i) j(a) $b(i, 2) $a(i, 5)");
  WriteFile("define.ini", "$c(i, 9) !include(\"nested.ini\")");
  WriteFile("nested.ini", "$d(i, c) $C(i, 10)");
  WriteFile("use.ini", "!u(i, i) u(c, d)");
  WriteFile("redeclare.ini", "!a(s) a(\"inc\")");
  Expect(
      {
          {"$a(i, 1) !include(\"inc.ini\") !k(i, i) k(a, b) j(b)",
           "j(int 1) k(int 5, int 2) j(int 2)"},
          {"$a(i, 0) !k(i) k(0) { !include(\"inc.ini\") j(3) } k(a)",
           "k(int 0) { j(int 0) j(int 3) } k(int 5)"},
          {"!k(i, i) !include(\"define.ini\") k(c, d)", "k(int 10, int 9)"},
          {"$c(i, 1) $d(i, 2) !u(i, i) !include(\"use.ini\") u(c, d)",
           "u(int 1, int 2) u(int 1, int 2)"},
          {"$c(i, 1) !include(\"missing.ini\") !k(i) k(c)", "k(int 1)"},  // missing: no error
          {"$c(i, 1) !k(i) k(0) { !include(\"define.ini\") } k(c) k(d)",
           "k(int 0) k(int 10) k(int 9)"},
          {"!a(i) !b() b() { !a(s) a(\"in\") } a(1)", "b() { a(string \"in\") } a(int 1)"},
          {"!a(i) !b() b() { !a(f) a(1.5) b() { !a(s) !a(i) a(2) } a(2.5) } a(3)",
           "b() { a(float 1.5) b() { a(int 2) } a(float 2.5) } a(int 3)"},
          {"!a(i) !b() b() { !include(\"redeclare.ini\") a(\"x\") } a(1)",
           "b() { a(string \"inc\") a(string \"x\") } a(int 1)"},
          {"!b() b() { !a(i) } b() { !a(s) a(\"2nd\") } b() { !a(f) a(3.5) }",
           "b() b() { a(string \"2nd\") } b() { a(float 3.5) }"},
      },
      {
          {"$a(i, 0) !k(i) k(0) { !include(\"inc.ini\") } j(4)", {"unknown keyword j"}},
          {"!b() b() { !include(\"redeclare.ini\") } a(\"out\")", {"unknown keyword a"}},
      });
  RestartLog();
  WriteFile("fails.ini", "$e(i, 3) x(");
  EXPECT_EQ(Parse("$c(i, 1) !include(\"fails.ini\")"), nullptr);
  EXPECT_EQ(LogText(), Report("unknown keyword x", 1, "$e(i, 3) x(", "fails.ini") + Failed());
}

TEST_F(StatementsTest, AnErrorInAnIncludedFileNamesThatFileAndFailsTheParse) {
  WriteFile("inc.ini", "k(1)\r\nk(2)\r\nk(x)\r\nk(4)\r\n");
  EXPECT_EQ(Parse("!k(i)\n!include(\"inc.ini\")\nk(5)\n", "main.ini"), nullptr);
  EXPECT_EQ(LogText(), Report("unknown const name 'x'", 3, "k(x)", "inc.ini") + Failed("main.ini"));

  // A '}' at an included file's top level does not close the block around the directive.
  RestartLog();
  WriteFile("close.ini", "}");
  EXPECT_EQ(Parse("!k(i) k(0) { !include(\"close.ini\") }"), nullptr);
  EXPECT_EQ(LogText(), Report("unexpected closing curly bracket", 1, "}", "close.ini") + Failed());
}

TEST_F(StatementsTest, IncludeNamesThatDoNotFitAreRefused) {
  // "sub/" and the name together: 259 characters fit (the file is missing, which is no error),
  // 260 do not.
  WriteFile("sub/a.ini", "!include(\"" + std::string(255, 'n') + "\")");
  EXPECT_EQ(List(ParseScriptFile("sub/a.ini", nullptr, nullptr, nullptr)), nullptr);
  EXPECT_EQ(LogText(), "");

  const std::string text = "!include(\"" + std::string(256, 'n') + "\")";
  WriteFile("sub/a.ini", text);
  EXPECT_EQ(List(ParseScriptFile("sub/a.ini", nullptr, nullptr, nullptr)), nullptr);
  EXPECT_EQ(LogText(),
            Report("include name too long: with the folder 'sub/' it would exceed 259 characters",
                   1, text, "sub/a.ini") +
                Failed("sub/a.ini"));
}

TEST_F(StatementsTest, IncludeCyclesEndAtTheDepthLimit) {
  const std::string self = "!include(\"self.ini\")";
  EXPECT_EQ(Parse(self, "self.ini"), nullptr);
  EXPECT_EQ(LogText(), Report("includes nested deeper than 32 levels: 'self.ini' not included", 1,
                              self, "self.ini") +
                           Failed("self.ini"));

  RestartLog();
  WriteFile("b.ini", "!k() k()\n!include(\"a.ini\")");
  EXPECT_EQ(Parse("!include(\"b.ini\")", "a.ini"), nullptr);
  // a.ini is level 0 and every even level, so the include refused at level 32 stands in a.ini.
  EXPECT_EQ(LogText(), Report("includes nested deeper than 32 levels: 'b.ini' not included", 1,
                              "!include(\"b.ini\")", "a.ini") +
                           Failed("a.ini"));
}

TEST_F(StatementsTest, BlocksNestUpToTheLimit) {
  std::string nested = "!a()\n";
  for (int level = 0; level < CZKParse::kMaxBlockDepth; ++level) nested += "a(){\n";
  const List deepest = Parse(nested);
  ASSERT_NE(deepest, nullptr);
  int depth = 0;
  for (const CZKPARSE_KEYWORD* node = deepest.get(); node->block != nullptr; node = node->block) {
    ++depth;
  }
  EXPECT_EQ(depth, CZKParse::kMaxBlockDepth - 1);  // the innermost call's block is empty
  EXPECT_EQ(LogText(), "");

  // Far beyond it: one report at the first '{' too many, and no exhausted stack.
  for (int level = CZKParse::kMaxBlockDepth; level < 100000; ++level) nested += "a(){\n";
  RestartLog();
  EXPECT_EQ(Parse(nested), nullptr);
  EXPECT_EQ(LogText(), Report("blocks nested deeper than 256 levels", 258, "a(){") + Failed());

  // Blocks count across includes.
  RestartLog();
  WriteFile("inner.ini", "a(){ a(){ }}");
  std::string outer = "!a()\n";
  for (int level = 0; level < CZKParse::kMaxBlockDepth - 1; ++level) outer += "a(){\n";
  EXPECT_EQ(Parse(outer + "!include(\"inner.ini\")"), nullptr);
  EXPECT_EQ(
      LogText(),
      Report("blocks nested deeper than 256 levels", 1, "a(){ a(){ }}", "inner.ini") + Failed());
}

TEST_F(StatementsTest, AMegabyteLineIsAStringValueButNoName) {
  const std::string megabyte(1 << 20, 'x');
  const List list = Parse("!s(s) s(\"" + megabyte + "\")");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(static_cast<const CZKPARSE_STRING*>(list->params)->value, megabyte);
  RestartLog();
  EXPECT_EQ(Parse("!s(s) s(" + megabyte + ")"), nullptr);
  const std::string log = LogText();
  EXPECT_EQ(log.rfind("[CZKParse] word limit exceeded: in file 'script.txt' in line 1\r\n", 0), 0u)
      << log.substr(0, 200);
  EXPECT_EQ(log.substr(log.size() - Failed().size()), Failed());
  EXPECT_LT(log.size(), 8192u) << "each logged text is cut, not the 1 MB line";
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

  // A long list is copied in a loop, not one stack frame per node.
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

// Every value of a constant is a copy of its own, so that a host may change one string in place.
TEST_F(StatementsTest, ValuesOfOneStringConstantAreSeparateCopies) {
  const List list = Parse("$t(s, \"text\") !a(s, s) a(t, t)");
  ASSERT_NE(list, nullptr);
  char* first = static_cast<CZKPARSE_STRING*>(list->params)->value;
  const char* second = static_cast<CZKPARSE_STRING*>(list->params->next)->value;
  EXPECT_NE(first, second);
  first[0] = 'n';
  EXPECT_STREQ(second, "text");
}

}  // namespace
