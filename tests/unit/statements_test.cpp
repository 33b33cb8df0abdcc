// The grammar above single tokens, through the parser's entry point: calls, constants, keyword
// declarations, includes, blocks, and what bad input leaves in the log.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

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
  static void Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path(name);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Writes the script and parses it as a host does, with no variable callbacks.
  static List Parse(const std::string& bytes, const std::string& name = "script.txt") {
    Write(name, bytes);
    return List(ParseScriptFile(name.c_str(), nullptr, nullptr, nullptr));
  }
  static std::string Failed(const std::string& file = "script.txt") {
    return "Parser: cant parse file '" + file + "'\r\n";
  }
};

struct Accepted {
  std::string text, list;  // list as OneLine writes it; empty for no list
};

// Each text parses without a report into the given list.
void ExpectAccepted(const Accepted& c) {
  SCOPED_TRACE(c.text);
  StatementsTest::RestartLog();
  const List list = StatementsTest::Parse(c.text);
  EXPECT_EQ(OneLine(list.get()), c.list);
  EXPECT_EQ(StatementsTest::LogText(), "");
}

struct Refused {
  std::string text, message, sourceLine;  // one report, on the text's first line
};

// Each text fails with exactly one report and no list.
void ExpectRefused(const Refused& c) {
  SCOPED_TRACE(c.text);
  StatementsTest::RestartLog();
  const List list = StatementsTest::Parse(c.text);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(StatementsTest::LogText(),
            StatementsTest::Report(c.message, 1, c.sourceLine) + StatementsTest::Failed());
}

const std::string kAbc = "!a(i) !b(i) !c(i) ";

TEST_F(StatementsTest, StatementLoop) {
  for (const Accepted& c : {
           Accepted{"", ""},
           Accepted{" \r\n// only a comment\r\n/* and another */ ", ""},
           Accepted{"!a(i) $x(i, 1) !b()", ""},
           Accepted{kAbc + "a(1)", "a(int 1)"},
           Accepted{kAbc + "a(1) b(2)c(3)", "a(int 1) b(int 2) c(int 3)"},
           Accepted{kAbc + "a(1) { b(2) } c(3)", "a(int 1) { b(int 2) } c(int 3)"},
           Accepted{kAbc + "a(1) /* c */\n{ b(2) { c(3) } b(4) }c(5)",
                    "a(int 1) { b(int 2) { c(int 3) } b(int 4) } c(int 5)"},
           Accepted{kAbc + "a(1) { b(2)",
                    "a(int 1) { b(int 2) }"},  // closed by the end of the text
           Accepted{kAbc + "a(1) { } b(2)", "a(int 1) b(int 2)"},
           Accepted{kAbc + "a(1) /* never closed", "a(int 1)"},
           Accepted{kAbc + "a(1) // no line end", "a(int 1)"},
       }) {
    ExpectAccepted(c);
  }
  for (const Refused& c : {
           Refused{kAbc + "}", "unexpected closing curly bracket", kAbc + "}"},
           Refused{kAbc + "a(1) { } ;", "unknown keyword ", kAbc + "a(1) { } ;"},
           Refused{kAbc + "{ a(1) }", "unknown keyword ", kAbc + "{ a(1) }"},
           Refused{kAbc + "a(1) { !k(i) k(1) } k(2)", "unknown keyword k",
                   kAbc + "a(1) { !k(i) k(1) } k(2)"},
       }) {
    ExpectRefused(c);
  }
}

TEST_F(StatementsTest, ASemicolonAfterACallIsReportedButNotFatal) {
  const List list = Parse("!a(i)\na(1); a(2)\n");
  EXPECT_EQ(OneLine(list.get()), "a(int 1) a(int 2)");
  EXPECT_EQ(LogText(), Report("its not c!", 2, "a(1); a(2)"));
}

TEST_F(StatementsTest, KeywordCalls) {
  for (const Accepted& c : {
           Accepted{"!k(int, string)\nK /* c */ ( 5 , // x\n \"t\" )", "k(int 5, string \"t\")"},
           Accepted{"!k() k( )", "k()"},
           Accepted{"!k(i) !k(s) k(\"x\")", "k(string \"x\")"},
       }) {
    ExpectAccepted(c);
  }
  for (const Refused& c : {
           Refused{"!k(i, s) k(5, \"t\", 6)", "closing bracket expected", ""},
           Refused{"!k(i) !k(s) k(1)", "unknown const name '1'", ""},
           Refused{"k(1) !k(i)", "unknown keyword k", ""},
           Refused{"!k(i) k()", "unknown const name ''", ""},
           Refused{"!k(i) k 1", "opening bracket expected", ""},
           Refused{"!k(i) k", "error in call", ""},
           Refused{"!k(i, i) k(1 2)", "comma expected", ""},
           Refused{"!k(i) k(1 ", "closing bracket expected", ""},
       }) {
    Refused withLine = c;
    withLine.sourceLine = c.text;
    ExpectRefused(withLine);
  }
  RestartLog();
  const std::string longName(40, 'k');
  EXPECT_EQ(Parse(longName + "()"), nullptr);
  EXPECT_EQ(LogText(), Report("word limit exceeded", 1, longName + "()") +
                           Report("error in call", 1, longName + "()") + Failed());
}

TEST_F(StatementsTest, ConstantDefinitions) {
  for (const Accepted& c : {
           Accepted{"$A(I, 5) !k(i) k(a) k(A)", "k(int 5) k(int 5)"},
           Accepted{"$a(i, 5) $a(i, 6) !k(i) k(a)", "k(int 6)"},
           Accepted{"$b(n, 7) $a(i, b) !k(i) k(a)", "k(int 7)"},
           Accepted{"$a(F, 1.5) $b(S, \"x\") !k(f, s) k(a, b)", "k(float 1.5, string \"x\")"},
           Accepted{"$(i, 5) !k(i) k()", "k(int 5)"},  // the empty name is a name
           Accepted{"$a /* c */ ( i , // c\n 5 ) !k(i) k(a)", "k(int 5)"},
           Accepted{"!k(i) k(1) { $a(i, 2) } k(a)",
                    "k(int 1) k(int 2)"},  // blocks do not scope them
       }) {
    ExpectAccepted(c);
  }
  for (const Refused& c : {
           Refused{"$a(s, \"x\") !k(i) k(a)", "'a' const type != 'int'", ""},
           Refused{"$a(i, b)", "unknown const name 'b'", ""},
           Refused{"$a(int, 5)", "unexpected character in typedef", ""},
           Refused{"$a(i 5)", "unexpected character in typedef", ""},
           Refused{"$a(i, 5, 6)", "unexpected character in typedef", ""},
           Refused{"$a()", "unexpected character in typedef", ""},
           Refused{"$a(i", "unexpected character in typedef", ""},
           Refused{"$ a(i, 5)", "left bracked expected in const def", ""},
           Refused{"$a", "error in const def", ""},
       }) {
    Refused withLine = c;
    withLine.sourceLine = c.text;
    ExpectRefused(withLine);
  }
  // A failed definition adds nothing: the earlier value stays.
  RestartLog();
  EXPECT_EQ(Parse("$a(i, 1) $a(i, x)"), nullptr);
  EXPECT_EQ(LogText(), Report("unknown const name 'x'", 1, "$a(i, 1) $a(i, x)") + Failed());
}

TEST_F(StatementsTest, KeywordDeclarations) {
  for (const Accepted& c : {
           Accepted{"!a(i, f, s) a(1, 2.5, \"x\")", "a(int 1, float 2.5, string \"x\")"},
           Accepted{"!a(int, float, string) a(1, 2.5, \"x\")", "a(int 1, float 2.5, string \"x\")"},
           Accepted{"!a(Number) a(3)", "a(int 3)"},
           Accepted{"!a(int width, int /* c */ height) a(1, 2)", "a(int 1, int 2)"},
           Accepted{"!A(i) A(1) a(2)", "a(int 1) a(int 2)"},
       }) {
    ExpectAccepted(c);
  }
  for (const Refused& c : {
           Refused{"!a(,i)", "unexpected characted in typedef", ""},
           Refused{"!a(i,)", "unexpected characted in typedef", ""},
           Refused{"!a(x)", "unexpected characted in typedef", ""},
           Refused{"!a(i", "unexpected characted in typedef", ""},
           Refused{"!a i", "left bracked expected in typedef", ""},
           Refused{"! a(i)", "left bracked expected in typedef", ""},
           Refused{"!a", "error in typedef", ""},
       }) {
    Refused withLine = c;
    withLine.sourceLine = c.text;
    ExpectRefused(withLine);
  }
  RestartLog();
  const std::string text = "!" + std::string(40, 'a') + "(i)";
  EXPECT_EQ(Parse(text), nullptr);
  EXPECT_EQ(LogText(), Report("word limit exceeded", 1, text) +
                           Report("error in typedef", 1, text) + Failed());
}

TEST_F(StatementsTest, ConditionalIncludesWithEveryOperator) {
  Write("a.ini", "!a(i) a(1)");
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
    ExpectAccepted({"!include_if" + c.condition + ", \"a.ini\")", c.holds ? "a(int 1)" : ""});
  }
  // Constants as operands; a name ends at the operator by itself.
  ExpectAccepted({"$n(i, 3) !include_if_int(n>2, \"a.ini\")", "a(int 1)"});
  ExpectAccepted({"$n(f, 3) !include_if_float(n <= 2.5, \"a.ini\")", ""});
  ExpectAccepted({"!include_if_int(1 < 2, \"\")", ""});
}

TEST_F(StatementsTest, DirectiveFailures) {
  Write("a.ini", "!a(i) a(1)");
  for (const Refused& c : {
           Refused{"!include_if_int(1 = 1, \"a.ini\")", "operator expected in 'include_if_int'",
                   ""},
           Refused{"!include_if_int(1 < 2 \"a.ini\")", "comma expected in 'include_if_int'", ""},
           Refused{"!include_if_int 1", "left bracked expected in 'include_if_int'", ""},
           Refused{"!include_if_int(1 < 2, \"a.ini\"", "right bracked expected in 'include_if_int'",
                   ""},
           Refused{"!include_if_float(1 < x, \"a.ini\")", "unknown const name 'x'", ""},
           Refused{"!include \"a.ini\"", "left bracked expected in include", ""},
           Refused{"!INCLUDE(\"a.ini\" x", "right bracked expected in include", ""},
       }) {
    Refused withLine = c;
    withLine.sourceLine = c.text;
    if (c.message == "unknown const name 'x'") {
      // The reader's own message comes first, then the directive's.
      RestartLog();
      EXPECT_EQ(Parse(c.text), nullptr);
      EXPECT_EQ(LogText(), Report(c.message, 1, c.text) +
                               Report("int expected in 'include_if_float'", 1, c.text) + Failed());
      continue;
    }
    ExpectRefused(withLine);
  }
  // "1<2": the number ends at a value terminator only, so the operand fails first.
  for (const std::string kind : {"int", "float"}) {
    RestartLog();
    const std::string text = "!include_if_" + kind + "(1<2, \"a.ini\")";
    EXPECT_EQ(Parse(text), nullptr);
    EXPECT_EQ(LogText(),
              Report("invalid termination of " + std::string(kind == "int" ? "integer" : "float"),
                     1, text) +
                  Report("int expected in 'include_if_" + kind + "'", 1, text) + Failed());
  }
  RestartLog();
  const std::string badName = "!include_if_int(1 < 2, 5)";
  EXPECT_EQ(Parse(badName), nullptr);
  EXPECT_EQ(LogText(), Report("unknown const name '5'", 1, badName) +
                           Report("string expected in 'include_if_int'", 1, badName) + Failed());
  // An include name that runs into the end of the text skips the include without failing.
  ExpectAccepted({kAbc + "a(1) !include(abc", "a(int 1)"});
  ExpectAccepted({"!include(\"\") !include_if_int(1 < 2, \"\")", ""});
}

TEST_F(StatementsTest, IncludesResolveAgainstTheIncludingFilesFolder) {
  Write("b.ini", "!k(i) k(1)");
  Write("sub/b.ini", "!k(i) k(2)");
  Write("sub/c/d.ini", "!include(\"../b.ini\") k(3)");
  Write("sub/a.ini", "!include(\"b.ini\") !include(\"c/d.ini\")");
  for (const char* top : {"sub/a.ini", "sub\\a.ini"}) {
    SCOPED_TRACE(top);
    const List list(ParseScriptFile(top, nullptr, nullptr, nullptr));
    EXPECT_EQ(OneLine(list.get()), "k(int 2) k(int 2) k(int 3)");
  }
  EXPECT_EQ(OneLine(Parse("!include(\"b.ini\")", "game.ini").get()), "k(int 1)");
  EXPECT_EQ(LogText(), "");
}

TEST_F(StatementsTest, ConstantsAndDeclarationsCrossIncludes) {
  // Constants flow both ways in text order; declarations at the included file's top level join
  // the scope of the directive: to the end of the parse, or to the end of the enclosing block.
  Write("inc.ini", "!j(i) j(a) $b(i, 2) $a(i, 5)");
  ExpectAccepted({"$a(i, 1) !include(\"inc.ini\") !k(i, i) k(a, b) j(b)",
                  "j(int 1) k(int 5, int 2) j(int 2)"});
  ExpectAccepted({"$a(i, 0) !k(i) k(0) { !include(\"inc.ini\") j(3) } k(a)",
                  "k(int 0) { j(int 0) j(int 3) } k(int 5)"});
  const std::string text = "$a(i, 0) !k(i) k(0) { !include(\"inc.ini\") } j(4)";
  ExpectRefused({text, "unknown keyword j", text});
}

TEST_F(StatementsTest, TheNewestDeclarationWinsAndABlockEndBringsBackTheOneItHid) {
  Write("redeclare.ini", "!a(s) a(\"inc\")");
  for (const Accepted& c : {
           Accepted{"!a(i) !b() b() { !a(s) a(\"in\") } a(1)", "b() { a(string \"in\") } a(int 1)"},
           Accepted{"!a(i) !b() b() { !a(f) a(1.5) b() { !a(s) !a(i) a(2) } a(2.5) } a(3)",
                    "b() { a(float 1.5) b() { a(int 2) } a(float 2.5) } a(int 3)"},
           // Declared at the top level of an included file: the including block's scope.
           Accepted{"!a(i) !b() b() { !include(\"redeclare.ini\") a(\"x\") } a(1)",
                    "b() { a(string \"inc\") a(string \"x\") } a(int 1)"},
           Accepted{"!b() b() { !a(i) } b() { !a(s) a(\"2nd\") } b() { !a(f) a(3.5) }",
                    "b() b() { a(string \"2nd\") } b() { a(float 3.5) }"},
       }) {
    ExpectAccepted(c);
  }
  const std::string text = "!b() b() { !include(\"redeclare.ini\") } a(\"out\")";
  ExpectRefused({text, "unknown keyword a", text});
}

TEST_F(StatementsTest, ConstantsComeBackFromEveryInclude) {
  Write("define.ini", "$c(i, 9) !include(\"nested.ini\")");
  Write("nested.ini", "$d(i, c) $C(i, 10)");
  Write("use.ini", "!u(i, i) u(c, d)");
  for (const Accepted& c : {
           Accepted{"!k(i, i) !include(\"define.ini\") k(c, d)", "k(int 10, int 9)"},
           Accepted{"$c(i, 1) $d(i, 2) !u(i, i) !include(\"use.ini\") u(c, d)",
                    "u(int 1, int 2) u(int 1, int 2)"},
           Accepted{"$c(i, 1) !include(\"missing.ini\") !k(i) k(c)", "k(int 1)"},
           Accepted{"$c(i, 1) !k(i) k(0) { !include(\"define.ini\") } k(c) k(d)",
                    "k(int 0) k(int 10) k(int 9)"},
       }) {
    ExpectAccepted(c);
  }
  // Handed back also when the included file fails; the parse fails with it.
  Write("fails.ini", "$e(i, 3) x(");
  EXPECT_EQ(Parse("$c(i, 1) !include(\"fails.ini\")"), nullptr);
  EXPECT_EQ(LogText(), Report("unknown keyword x", 1, "$e(i, 3) x(", "fails.ini") + Failed());
}

TEST_F(StatementsTest, AnErrorInAnIncludedFileNamesThatFileAndFailsTheParse) {
  Write("inc.ini", "k(1)\r\nk(2)\r\nk(x)\r\nk(4)\r\n");
  EXPECT_EQ(Parse("!k(i)\n!include(\"inc.ini\")\nk(5)\n", "main.ini"), nullptr);
  EXPECT_EQ(LogText(), Report("unknown const name 'x'", 3, "k(x)", "inc.ini") + Failed("main.ini"));

  // A '}' at an included file's top level does not close the block around the directive.
  RestartLog();
  Write("close.ini", "}");
  EXPECT_EQ(Parse("!k(i) k(0) { !include(\"close.ini\") }"), nullptr);
  EXPECT_EQ(LogText(), Report("unexpected closing curly bracket", 1, "}", "close.ini") + Failed());
}

TEST_F(StatementsTest, AMissingIncludedFileAddsNothingAndIsNoError) {
  ExpectAccepted({"!include(\"missing.ini\") !k(i) k(1)", "k(int 1)"});
}

TEST_F(StatementsTest, IncludeNamesThatDoNotFitAreRefused) {
  // "sub/" and the name together: 259 characters fit (the file is missing, which is no error),
  // 260 do not.
  Write("sub/a.ini", "!include(\"" + std::string(255, 'n') + "\")");
  EXPECT_EQ(List(ParseScriptFile("sub/a.ini", nullptr, nullptr, nullptr)), nullptr);
  EXPECT_EQ(LogText(), "");

  const std::string text = "!include(\"" + std::string(256, 'n') + "\")";
  Write("sub/a.ini", text);
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
  Write("b.ini", "!k() k()\n!include(\"a.ini\")");
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
  Write("inner.ini", "a(){ a(){ }}");
  std::string outer = "!a()\n";
  for (int level = 0; level < CZKParse::kMaxBlockDepth - 1; ++level) outer += "a(){\n";
  EXPECT_EQ(Parse(outer + "!include(\"inner.ini\")"), nullptr);
  EXPECT_EQ(
      LogText(),
      Report("blocks nested deeper than 256 levels", 1, "a(){ a(){ }}", "inner.ini") + Failed());
}

TEST_F(StatementsTest, BadBytesAndTextsThatEndTooEarly) {
  // A NUL byte starts no statement; the report's source line ends at it.
  ExpectRefused({std::string("!a() a()\0 a()", 13), "unknown keyword ", "!a() a()"});
  // A byte-order mark is not skipped: it is no statement either.
  ExpectRefused({"\xEF\xBB\xBF!a() a()", "unknown keyword ", "\xEF\xBB\xBF!a() a()"});
  ExpectRefused({"!s(s) s(\"abc", "expected ending \"", "!s(s) s(\"abc"});
  ExpectRefused({"!s(s, i", "unexpected characted in typedef", "!s(s, i"});
  ExpectRefused({"!s(s) s(\"x\", ", "closing bracket expected", "!s(s) s(\"x\", "});
  ExpectRefused({"!abc", "error in typedef", "!abc"});

  // A 1 MB line: read whole as a string value; as a name it stops at the word limit.
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

TEST_F(StatementsTest, CopyOfAListIsDeep) {
  const List list = Parse("!a(i, s) !b(f) a(1, \"x\") { b(2.5) { a(3, \"y\") } } b(4) a(5, \"z\")");
  ASSERT_NE(list, nullptr);
  const List copy(new CZKPARSE_KEYWORD(*list));
  EXPECT_EQ(OneLine(copy.get()), OneLine(list.get()));
  EXPECT_EQ(OneLine(copy.get()),
            "a(int 1, string \"x\") { b(float 2.5) { a(int 3, string \"y\") } } b(float 4) a(int 5, "
            "string \"z\")");
  EXPECT_NE(copy->params, list->params);
  EXPECT_NE(static_cast<CZKPARSE_STRING*>(copy->params->next)->value,
            static_cast<CZKPARSE_STRING*>(list->params->next)->value);
  EXPECT_NE(copy->block, list->block);
  EXPECT_NE(copy->next, list->next);
  EXPECT_EQ(CZKPARSE_KEYWORD(*list->next->next).next, nullptr);  // a copy of the last node alone

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

// The parsed list lies in an arena that its head owns; a copy is a heap list of its own that lives
// on after the original, with private copies of every text.
TEST_F(StatementsTest, ACopyOutlivesTheParsedList) {
  Write("sub/part.ini", "!b(s) b(\"in\\tpart\") $k(s, \"from part\")");
  List list = Parse("!a(s, s) !include(\"sub/part.ini\") a(k, k) { b(k) }");
  ASSERT_NE(list, nullptr);
  const List copy(new CZKPARSE_KEYWORD(*list));
  list.reset();
  EXPECT_EQ(OneLine(copy.get()),
            "b(string \"in\\tpart\") a(string \"from part\", string \"from part\") { b(string "
            "\"from part\") }");
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
