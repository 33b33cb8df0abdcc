// Statement lists: the binary form, and the folder a parser object takes from its file name.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "parser_fixture.h"

namespace {

CZKPARSE_KEYWORD* Node(const char* name, CZKPARSE_PARAM* params = nullptr,
                       CZKPARSE_KEYWORD* node = new CZKPARSE_KEYWORD) {
  std::strcpy(node->name, name);
  node->params = params;
  return node;
}

// --- The binary form: built here independently of the writer --------------------------------

std::string Int(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
          static_cast<char>(bits >> 24)};
}
std::string Text(const std::string& text) {
  return Int(static_cast<int>(text.size())) + text;
}

using WriteBinaryTest = ParserTest;

std::string Written(CZKPARSE_KEYWORD& list) {
  std::FILE* stream = std::fopen("list.bin", "wb");
  if (stream == nullptr) return "<no file>";
  list.WriteBinary(stream);
  std::fclose(stream);
  return ParserTest::ReadFile("list.bin");
}

TEST_F(WriteBinaryTest, EveryValueTypeAndAVariablesName) {
  CZKPARSE_KEYWORD all;
  Node("all", new CZKPARSE_INT(640, "Width"), &all);
  AppendParam(all.params, new CZKPARSE_FLOAT(2.5f, nullptr));
  AppendParam(all.params, new CZKPARSE_STRING("a \"b\"", nullptr));
  AppendParam(all.params, new CZKPARSE_STRING("", "empty"));
  AppendParam(all.params, new CZKPARSE_STRING(nullptr, nullptr));
  EXPECT_EQ(Written(all), Int(16) + Text("all") + Int(0) + Int(640) + Text("Width") +  //
                              Int(1) + std::string("\0\0\x20\x40", 4) + Int(0) +       //
                              Int(2) + Text("a \"b\"") + Int(0) +                      //
                              Int(2) + Int(0) + Text("empty") +                        //
                              Int(2) + Int(0) + Int(0) + Int(-1));
}

// --- Loading ---------------------------------------------------------------------------------

using ParserLoadTest = ParserTest;

TEST_F(ParserLoadTest, DirIsTheNameUpToItsLastBackslashElseItsLastSlash) {
  EXPECT_STREQ(CZKParse("game.ini").dir, "");
  EXPECT_STREQ(CZKParse("data/cfg/game.ini").dir, "data/cfg/");
  EXPECT_STREQ(CZKParse("a/b\\c/d.ini").dir, "a/b\\");
  const std::string name = std::string(250, 'd') + "\\" + std::string(20, 'n');
  const CZKParse cut(name.c_str());
  EXPECT_EQ(std::string(cut.fileName), name.substr(0, 259));
  EXPECT_EQ(std::string(cut.dir), name.substr(0, 251));
  // A backslash beyond the cut does not count.
  EXPECT_STREQ(CZKParse((std::string(259, 'x') + "\\y").c_str()).dir, "");
}

}  // namespace
