// The typed value readers: literals, quoted strings, constants and variable references, and the
// one report each failure makes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "parser_fixture.h"

namespace {

using ValueReaderTest = ParserTest;

// Reads with reader 0 (int), 1 (float) or 2 (string).
CZKPARSE_PARAM* ReadAs(CZKParse& parser, int reader, int* error) {
  if (reader == 0) return parser.ReadInt(error);
  if (reader == 1) return parser.ReadFloat(error);
  return parser.ReadString(error);
}

TEST_F(ValueReaderTest, NumberLiterals) {
  struct Case {
    const char* text;
    int reader;
    double value;
    int next;             // the byte left in the text
    const char* message;  // the report, when the literal is refused
  };
  const Case cases[] = {
      {"-/* c */5,", 0, -5, ',', nullptr},
      {"- 5 ", 0, -5, ' ', nullptr},
      {"5)", 0, 5, ')', nullptr},
      {"12\r\n", 0, 12, '\r', nullptr},
      {"4294967297 ", 0, 1, ' ', nullptr},
      {"2147483648 ", 0, -2147483648.0, ' ', nullptr},
      {"5;", 0, 0, 0, "invalid termination of integer"},
      {"12", 0, 0, 0, "invalid termination of integer"},
      {"-", 0, 0, 0, "expected number"},
      {"1. ", 1, 1.0, ' ', nullptr},
      {"2.50,", 1, 2.5, ',', nullptr},
      {"- 0.25)", 1, -0.25, ')', nullptr},
      {"3\t", 1, 3.0, '\t', nullptr},
      {"-.5", 1, 0, 0, "expected number"},
      {".5", 1, 0, 0, "unknown const name ''"},
      {"1e5 ", 1, 0, 0, "invalid termination of float"},
      {"0.5", 1, 0, 0, "invalid termination of float"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    RestartLog();
    auto parser = Load(c.text);
    int error = 0;
    CZKPARSE_PARAM* read = ReadAs(*parser, c.reader, &error);
    if (c.message != nullptr) {
      EXPECT_EQ(read, nullptr);
      EXPECT_EQ(error, 1);
      EXPECT_EQ(LogText(), Report(c.message, 1, c.text));
      continue;
    }
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->type, c.reader);
    EXPECT_EQ(read->name, nullptr);
    const auto* number = read;
    EXPECT_EQ(c.reader == 0 ? static_cast<const CZKPARSE_INT*>(number)->value
                            : static_cast<const CZKPARSE_FLOAT*>(number)->value,
              c.value);
    EXPECT_EQ(parser->ReadChar(), c.next);
    EXPECT_EQ(LogText(), "");
  }
}

TEST_F(ValueReaderTest, QuotedStrings) {
  struct Case {
    std::string text, value;
  };
  for (const Case& c : {Case{"\"a\\nb\"", "a\r\nb"}, Case{"\"\\t\\\"\\\\\\q\"", "\t\"\\q"},
                        Case{"\"1\\\r\n2\"", "12"}, Case{"\"1\\\n\r2\"", "12"},
                        Case{"\"1\\\r2\"", "12"}, Case{"\"1\\\n\n2\"", "1\n2"},
                        Case{"\"raw\r\n/* text */\"", "raw\r\n/* text */"}, Case{"\"\"", ""}}) {
    SCOPED_TRACE(c.text);
    auto parser = Load(c.text + ")");
    int error = 0;
    CZKPARSE_STRING* read = parser->ReadString(&error);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->value, c.value);
    EXPECT_EQ(parser->ReadChar(), ')');
  }
  auto open = Load("\"open\\");
  int error = 0;
  EXPECT_EQ(open->ReadString(&error), nullptr);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(LogText(), Report("expected ending \"", 1, "\"open\\"));
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

std::unique_ptr<CZKParse> LoadWithConstants(const std::string& text) {
  auto parser = ParserTest::Load(text);
  ParseArena& arena = parser->arena;
  Define(*parser, "speed", arena.New<CZKPARSE_INT>(5, nullptr));
  auto* title = arena.New<CZKPARSE_STRING>(nullptr, nullptr);
  title->value = arena.CopyText("Vantor");
  Define(*parser, "title", title);
  Define(*parser, "2d", arena.New<CZKPARSE_FLOAT>(1.5f, nullptr));
  Define(*parser, "speed", arena.New<CZKPARSE_INT>(9, nullptr));
  return parser;
}

TEST_F(ValueReaderTest, ConstantsAreFoundWithoutRegardToCaseLatestFirst) {
  auto parser = LoadWithConstants("SPEED Title 2D speed");
  int error = 0;
  CZKPARSE_INT* speed = parser->ReadInt(&error);
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(speed->value, 9);
  EXPECT_EQ(speed->name, nullptr);
  parser->SkipSpace();
  CZKPARSE_STRING* title = parser->ReadString(&error);
  ASSERT_NE(title, nullptr);
  EXPECT_STREQ(title->value, "Vantor");
  parser->SkipSpace();
  CZKPARSE_FLOAT* flat = parser->ReadFloat(&error);  // a digit starts a number
  EXPECT_EQ(flat, nullptr);
  EXPECT_EQ(LogText(), Report("invalid termination of float", 1, "SPEED Title 2D speed"));
  parser->pos = 15;
  error = 0;
  EXPECT_EQ(parser->ReadInt(&error), nullptr);  // runs into the end of the text
  EXPECT_EQ(error, -1);
}

TEST_F(ValueReaderTest, ConstantErrors) {
  struct Case {
    const char* text;
    int reader;
    const char* message;
  };
  for (const Case& c : {Case{"SPEED,", 1, "'SPEED' const type != 'float'"},
                        Case{"2D)", 2, "'2D' const type != 'string'"},
                        Case{"title ", 0, "'title' const type != 'int'"},
                        Case{"nothing ", 0, "unknown const name 'nothing'"},
                        Case{"\"x\" ", 0, "unknown const name ''"}}) {
    SCOPED_TRACE(c.text);
    RestartLog();
    auto parser = LoadWithConstants(c.text);
    int error = 0;
    EXPECT_EQ(ReadAs(*parser, c.reader, &error), nullptr);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(LogText(), Report(c.message, 1, c.text));
  }
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

std::unique_ptr<CZKParse> LoadWithCallbacks(const std::string& text, bool callbacks = true) {
  auto parser = ParserTest::Load(text, "cfg/vars.ini");
  if (callbacks) {
    parser->intVariable = IntWidth;
    parser->floatVariable = FloatGamma;
    parser->stringVariable = StringPath;
  }
  asked.clear();
  return parser;
}

TEST_F(ValueReaderTest, VariableValuesCarryTheNameAsWritten) {
  auto parser = LoadWithCallbacks("%Width,%gamma)%Path ");
  int error = 0;
  CZKPARSE_INT* width = parser->ReadInt(&error);
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(width->value, 640);
  EXPECT_STREQ(width->name, "Width");
  EXPECT_EQ(parser->ReadChar(), ',');
  CZKPARSE_FLOAT* gamma = parser->ReadFloat(&error);
  ASSERT_NE(gamma, nullptr);
  EXPECT_EQ(gamma->value, 2.2f);
  EXPECT_STREQ(gamma->name, "gamma");
  EXPECT_EQ(parser->ReadChar(), ')');
  CZKPARSE_STRING* path = parser->ReadString(&error);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(std::string(path->value), std::string(255, 'p'));
  EXPECT_STREQ(path->name, "Path");
  EXPECT_EQ(LogText(), "");

  EXPECT_EQ(LoadWithCallbacks("%")->ReadInt(&error), nullptr);  // no name before the end
  EXPECT_EQ(error, -1);
  EXPECT_EQ(asked, "");
}

TEST_F(ValueReaderTest, VariableErrors) {
  struct Case {
    const char* text;
    int reader;
    bool callbacks;
    const char* message;  // as logged: its line feed becomes CR LF
  };
  for (const Case& c : {Case{"%Width ", 0, false,
                             "variable callback not specified: unable to read 'Width' "
                             "variable!\r\n"},
                        Case{"%gamma ", 1, false,
                             "variable callback not specified: unable to read 'gamma' "
                             "variable!\r\n"},
                        Case{"%Path ", 2, false,
                             "variable callback not specified: unable to read 'Path' "
                             "variable!\r\n"},
                        Case{"%WIDTH ", 0, true, "int variable 'WIDTH' not found!\r\n"},
                        Case{"%Gamma ", 1, true, "float variable 'Gamma' not found!\r\n"},
                        Case{"%path ", 2, true, "string variable 'path' not found!\r\n"}}) {
    SCOPED_TRACE(c.text);
    RestartLog();
    // On line 2, below a line that holds a percent sign too.
    auto parser = LoadWithCallbacks(std::string("x(%Width)\n") + c.text, c.callbacks);
    parser->pos = 10;
    parser->line = 2;
    int error = 0;
    EXPECT_EQ(ReadAs(*parser, c.reader, &error), nullptr);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(LogText(), Report(c.message, 2, c.text, "cfg/vars.ini"));
    if (c.callbacks) {
      EXPECT_EQ("%" + asked + " ", c.text);
    }
  }
}

}  // namespace
