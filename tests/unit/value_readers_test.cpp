// The typed value readers: literals, quoted strings, constants and variable references, and the
// one report each failure makes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "parser_fixture.h"

namespace {

using ValueReaderTest = ParserTest;

enum Reader { kInt, kFloat, kString };

// The value read, as text; null when the reader refused.
const char* ReadAs(CZKParse& parser, Reader reader, int* error, std::string& value) {
  CZKPARSE_PARAM* read = nullptr;
  if (reader == kInt) {
    auto* number = parser.ReadInt(error);
    if (number != nullptr) value = std::to_string(number->value);
    read = number;
  } else if (reader == kFloat) {
    auto* number = parser.ReadFloat(error);
    if (number != nullptr) value = std::to_string(number->value);
    read = number;
  } else {
    auto* text = parser.ReadString(error);
    if (text != nullptr) value = text->value;
    read = text;
  }
  if (read == nullptr) return nullptr;
  EXPECT_EQ(read->type, reader);
  return read->name != nullptr ? read->name : "";
}

// Constants as their definitions leave them: lower-case names, the latest definition first, in the
// parser's arena like everything a parse makes.
void Define(CZKParse& parser, const char* name, CZKPARSE_PARAM* value) {
  auto* constant = parser.arena.New<CZKPARSE_KEYWORD>();
  std::strcpy(constant->name, name);
  constant->params = value;
  constant->next = parser.constants;
  parser.constants = constant;
}

std::string asked;
bool IntWidth(int* value, const char* name) {
  return *value = 640, (asked = name) == "Width";
}
bool FloatGamma(float* value, const char* name) {
  return *value = 2.2f, (asked = name) == "gamma";
}
bool StringPath(char* value, const char* name) {
  std::memset(value, 'p', CZKParse::kStringVariableSize - 1);  // the most it may hold
  value[CZKParse::kStringVariableSize - 1] = '\0';
  return (asked = name) == "Path";
}

// A parser at the start of text, on line 2 of cfg/vars.ini below a line that holds a percent sign
// too, with four constants and (when asked for) the variable callbacks.
std::unique_ptr<CZKParse> LoadOnLine2(const std::string& text, bool callbacks = true) {
  auto parser = ParserTest::Load("x(%Width)\n" + text, "cfg/vars.ini");
  parser->pos = 10;
  parser->line = 2;
  ParseArena& arena = parser->arena;
  Define(*parser, "speed", arena.New<CZKPARSE_INT>(5, nullptr));
  auto* title = arena.New<CZKPARSE_STRING>(nullptr, nullptr);
  title->value = arena.CopyText("Vantor");
  Define(*parser, "title", title);
  Define(*parser, "2d", arena.New<CZKPARSE_FLOAT>(1.5f, nullptr));
  Define(*parser, "speed", arena.New<CZKPARSE_INT>(9, nullptr));
  if (callbacks) {
    parser->intVariable = IntWidth;
    parser->floatVariable = FloatGamma;
    parser->stringVariable = StringPath;
  }
  asked.clear();
  return parser;
}

TEST_F(ValueReaderTest, LiteralsConstantsAndVariables) {
  struct Case {
    std::string text;
    Reader reader;
    std::string value;
    int next;          // the byte left in the text
    const char* name;  // a variable's name as written, else ""
  };
  const Case cases[] = {
      {"-/* c */5,", kInt, "-5", ',', ""},
      {"- 5 ", kInt, "-5", ' ', ""},
      {"12\r\n", kInt, "12", '\r', ""},
      {"4294967297 ", kInt, "1", ' ', ""},
      {"2147483648 ", kInt, "-2147483648", ' ', ""},
      {"1. ", kFloat, "1.000000", ' ', ""},
      {"2.50,", kFloat, "2.500000", ',', ""},
      {"- 0.25)", kFloat, "-0.250000", ')', ""},
      {"3\t", kFloat, "3.000000", '\t', ""},
      {"\"a\\nb\")", kString, "a\r\nb", ')', ""},
      {"\"\\t\\\"\\\\\\q\")", kString, "\t\"\\q", ')', ""},
      {"\"1\\\r\n2\")", kString, "12", ')', ""},
      {"\"1\\\n\r2\")", kString, "12", ')', ""},
      {"\"1\\\r2\")", kString, "12", ')', ""},
      {"\"1\\\n\n2\")", kString, "1\n2", ')', ""},
      {"\"raw\r\n/* text */\")", kString, "raw\r\n/* text */", ')', ""},
      {"\"\")", kString, "", ')', ""},
      // Constants, found without regard to case, the latest definition first.
      {"SPEED ", kInt, "9", ' ', ""},
      {"Title)", kString, "Vantor", ')', ""},
      {"%Width,", kInt, "640", ',', "Width"},
      {"%gamma)", kFloat, std::to_string(2.2f), ')', "gamma"},
      {"%Path ", kString, std::string(255, 'p'), ' ', "Path"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto parser = LoadOnLine2(c.text);
    int error = 0;
    std::string value;
    const char* name = ReadAs(*parser, c.reader, &error, value);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, c.name);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(parser->ReadChar(), c.next);
  }
  EXPECT_EQ(LogText(), "");
}

TEST_F(ValueReaderTest, EachRefusalMakesOneReport) {
  struct Case {
    const char* text;
    Reader reader;
    const char* message;  // as logged: a line feed becomes CR LF
    bool callbacks = true;
  };
  const Case cases[] = {
      {"5;", kInt, "invalid termination of integer"},
      {"12", kInt, "invalid termination of integer"},
      {"-", kInt, "expected number"},
      {"-.5", kFloat, "expected number"},
      {".5", kFloat, "unknown const name ''"},
      {"1e5 ", kFloat, "invalid termination of float"},
      {"0.5", kFloat, "invalid termination of float"},
      {"2D ", kFloat, "invalid termination of float"},  // a digit starts a number
      {"\"open\\", kString, "expected ending \""},
      {"SPEED,", kFloat, "'SPEED' const type != 'float'"},
      {"2D)", kString, "'2D' const type != 'string'"},
      {"title ", kInt, "'title' const type != 'int'"},
      {"nothing ", kInt, "unknown const name 'nothing'"},
      {"\"x\" ", kInt, "unknown const name ''"},
      {"%Width ", kInt, "variable callback not specified: unable to read 'Width' variable!\r\n",
       false},
      {"%gamma ", kFloat, "variable callback not specified: unable to read 'gamma' variable!\r\n",
       false},
      {"%Path ", kString, "variable callback not specified: unable to read 'Path' variable!\r\n",
       false},
      {"%WIDTH ", kInt, "int variable 'WIDTH' not found!\r\n"},
      {"%Gamma ", kFloat, "float variable 'Gamma' not found!\r\n"},
      {"%path ", kString, "string variable 'path' not found!\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    RestartLog();
    auto parser = LoadOnLine2(c.text, c.callbacks);
    int error = 0;
    std::string value;
    EXPECT_EQ(ReadAs(*parser, c.reader, &error, value), nullptr);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(LogText(), Report(c.message, 2, c.text, "cfg/vars.ini"));
    if (c.text[0] == '%' && c.callbacks) {
      EXPECT_EQ("%" + asked + " ", c.text);
    }
  }
}

TEST_F(ValueReaderTest, RunningIntoTheEndIsNoReportButError1) {
  for (const char* text : {"speed", "%"}) {
    SCOPED_TRACE(text);
    RestartLog();
    int error = 0;
    EXPECT_EQ(LoadOnLine2(text)->ReadInt(&error), nullptr);
    EXPECT_EQ(error, -1);
    EXPECT_EQ(asked, "") << "no name before the end";
    EXPECT_EQ(LogText(), "");
  }
}

}  // namespace
