// The lexer and the literal readers walk the text with pointers of their own. Here they are held
// against the byte-by-byte rules, written out with ReadChar and UnreadChar alone, from every
// start position of a text made of the bytes that matter to them: where they stop, the line they
// count, what they read and whether they fail must be the same, so that every report keeps its
// position.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>

#include "parser_fixture.h"

namespace {

bool IsBlank(int byte) {
  return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

bool IsDigit(int byte) {
  return byte >= '0' && byte <= '9';
}

int SkipSpaceByBytes(CZKParse& p) {
  while (p.pos < p.length) {
    const int byte = static_cast<unsigned char>(p.text[p.pos]);
    if (!IsBlank(byte) && byte != '/') break;
    p.ReadChar();
    if (byte != '/') continue;
    const int second = p.ReadChar();
    if (second == '/') {
      int next;
      do next = p.ReadChar();
      while (next != -1 && next != '\n');
    } else if (second == '*') {
      bool ended = false;
      for (;;) {
        int next;
        do next = p.ReadChar();
        while (next != -1 && next != '*');
        if (next == -1 || (next = p.ReadChar()) == -1) {
          ended = true;
          break;
        }
        if (next == '/') break;
        p.UnreadChar();
      }
      if (ended) break;
    } else {
      if (second != -1) p.UnreadChar();
      p.UnreadChar();
      break;
    }
  }
  return p.pos < p.length ? 0 : -1;
}

// After the opening quote.
std::string QuotedByBytes(CZKParse& p) {
  std::string value;
  for (;;) {
    int byte = p.ReadChar();
    if (byte == -1) return "fail";
    if (byte == '"') return value;
    if (byte != '\\') {
      value += static_cast<char>(byte);
      continue;
    }
    byte = p.ReadChar();
    if (byte == -1) return "fail";
    if (byte == 'n') {
      value += "\r\n";
    } else if (byte == 't') {
      value += '\t';
    } else if (byte == '\r' || byte == '\n') {
      const int following = p.ReadChar();
      if (following != (byte == '\r' ? '\n' : '\r') && following != -1) p.UnreadChar();
    } else {
      value += static_cast<char>(byte);
    }
  }
}

// A number after an optional minus sign, as ReadInt (floats false) or ReadFloat reads it.
std::string NumberByBytes(CZKParse& p, bool floats) {
  const bool negative = p.ReadChar() == '-';
  if (negative) {
    SkipSpaceByBytes(p);
  } else {
    p.UnreadChar();
  }
  std::uint32_t whole = 0;
  double value = 0.0;
  bool anyDigit = false;
  int byte = p.ReadChar();
  for (; IsDigit(byte); byte = p.ReadChar()) {
    whole = whole * 10u + static_cast<std::uint32_t>(byte - '0');
    value = value * 10.0 + (byte - '0');
    anyDigit = true;
  }
  if (!anyDigit) return "fail";
  if (floats && byte == '.') {
    double scale = 1.0;
    for (byte = p.ReadChar(); IsDigit(byte); byte = p.ReadChar()) {
      value = value * 10.0 + (byte - '0');
      scale *= 0.1;
    }
    value *= scale;
  }
  if (!CZKParse::IsValueTerminator(byte)) return "fail";
  p.UnreadChar();
  if (floats) return std::to_string(static_cast<float>(negative ? -value : value));
  return std::to_string(static_cast<std::int32_t>(negative ? 0u - whole : whole));
}

std::string Read(CZKParse& p, int reader) {
  int error = 0;
  CZKPARSE_PARAM* value = reader == 0   ? static_cast<CZKPARSE_PARAM*>(p.ReadInt(&error))
                          : reader == 1 ? static_cast<CZKPARSE_PARAM*>(p.ReadFloat(&error))
                                        : static_cast<CZKPARSE_PARAM*>(p.ReadString(&error));
  if (value == nullptr) return error != 0 ? "fail" : "null without an error";
  if (reader == 0) return std::to_string(static_cast<CZKPARSE_INT*>(value)->value);
  if (reader == 1) return std::to_string(static_cast<CZKPARSE_FLOAT*>(value)->value);
  return static_cast<CZKPARSE_STRING*>(value)->value;
}

// Compares the readers with the byte rules from every start position of p's text; ASSERT_ failures
// end it early. Returns how many literals were compared.
int CompareFromEveryStart(CZKParse& p) {
  int compared = 0;
  for (std::uint32_t start = 0; start <= p.length; ++start) {
    SCOPED_TRACE("start " + std::to_string(start));
    // What a walk leaves: its result in text form (or "fail"), position and line.
    const auto run = [&p, start](const auto& walk) {
      p.pos = start;
      p.line = 1;
      const std::string read = walk();
      return std::make_tuple(read, p.pos, p.line);
    };
    const auto skip = [&p] { return std::to_string(p.SkipSpace()); };
    const auto skipByBytes = [&p] { return std::to_string(SkipSpaceByBytes(p)); };
    EXPECT_EQ(run(skip), run(skipByBytes));

    const int first = start < p.length ? static_cast<unsigned char>(p.text[start]) : -1;
    // The readers themselves, where the byte at start makes them read a literal.
    if (first == '"') {
      EXPECT_EQ(run([&p] { return Read(p, 2); }), run([&p] {
                  p.ReadChar();
                  return QuotedByBytes(p);
                }));
      ++compared;
    }
    if (first == '-' || IsDigit(first)) {
      for (const int reader : {0, 1}) {
        EXPECT_EQ(run([&p, reader] { return Read(p, reader); }),
                  run([&p, reader] { return NumberByBytes(p, reader == 1); }))
            << "reader " << reader;
      }
      ++compared;
    }
    if (::testing::Test::HasFailure()) break;  // one difference says enough
  }
  return compared;
}

using LexerWalkTest = ParserTest;

TEST_F(LexerWalkTest, EveryStartPositionEndsWhereTheByteRulesEnd) {
  // Blanks and both line ends, comment and string bytes, digits and what may end a number.
  const std::string bytes = " \t\r\n\n//**\"\"\\\\\\n5-.,)a;";
  std::mt19937 random(11);
  int compared = 0;
  // Texts of that kind, each with one of the endings where a walk might run past the end.
  for (const std::string ending : {"", " /* */", "/**/", "\"", "\\", "1.5", "//", "-", "/"}) {
    std::string text;
    for (int n = 0; n < 600; ++n) text += bytes[random() % bytes.size()];
    SCOPED_TRACE("ending " + ending);
    compared += CompareFromEveryStart(*Load(text + ending));
    if (HasFailure()) break;
  }
  EXPECT_GT(compared, 500) << "too few literals in the texts to show anything";
}

}  // namespace
