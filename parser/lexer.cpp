// The lexer: byte by byte over the parser's text, with pos as the read position and line as the
// line counter. There is no token stream; each part of the grammar calls what it needs and backs
// up one byte with UnreadChar where it has read too far. Nothing here allocates.
#include "zk_parse.h"

namespace {

constexpr int kEnd = -1;
constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kCarriageReturn = 13;

bool IsBlank(int byte) {
  return byte == ' ' || byte == '\t' || byte == kCarriageReturn || byte == kLineFeed;
}

bool IsWordByte(int byte) {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= '0' && byte <= '9') || byte == '_';
}

}  // namespace

int CZKParse::ReadChar() {
  if (pos >= length) return kEnd;
  const unsigned char byte = static_cast<unsigned char>(text[pos]);
  // Only line feeds count: CR LF and LF files count each line once.
  if (byte == kLineFeed) ++line;
  ++pos;
  return byte;
}

int CZKParse::UnreadChar() {
  if (pos == 0) return kEnd;
  --pos;
  if (static_cast<unsigned char>(text[pos]) == kLineFeed) --line;
  return 0;
}

int CZKParse::SkipSpace() {
  while (pos < length) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (!IsBlank(byte) && byte != '/') break;
    ReadChar();
    if (byte != '/') continue;

    const int second = ReadChar();
    if (second == '/') {
      SkipLineComment();
    } else if (second == '*') {
      if (SkipBlockComment() == kEnd) break;
    } else {
      // A lone slash belongs to the grammar: give back what follows it (if anything), then the
      // slash itself.
      if (second != kEnd) UnreadChar();
      UnreadChar();
      break;
    }
  }
  return pos < length ? 0 : kEnd;
}

int CZKParse::SkipLineComment() {
  for (;;) {
    const int byte = ReadChar();
    if (byte == kEnd) return kEnd;
    if (byte == kLineFeed) return 0;
  }
}

int CZKParse::SkipBlockComment() {
  for (;;) {
    int byte;
    do {
      byte = ReadChar();
      if (byte == kEnd) return kEnd;
    } while (byte != '*');

    byte = ReadChar();
    if (byte == '/') return 0;
    if (byte == kEnd) return kEnd;
    // It may be the asterisk of the closing pair itself ("**/"): look at it again.
    UnreadChar();
  }
}

int CZKParse::ReadWord(char* buffer, int size) {
  if (size < 1) return 1;  // no room even for the terminating zero
  int room = size;
  int byte = ReadChar();
  while (IsWordByte(byte)) {
    if (room == 1) {
      ReportError("word limit exceeded");
      UnreadChar();
      *buffer = '\0';
      return 1;
    }
    *buffer++ = static_cast<char>(byte);
    --room;
    byte = ReadChar();
  }
  *buffer = '\0';
  if (byte == kEnd) return kEnd;  // the name may be complete, but the caller must know
  UnreadChar();
  return 0;
}

int CZKParse::ReadOperator() {
  const int first = ReadChar();
  const int second = ReadChar();
  if (first == '=' && second == '=') return ZKPARSE_OP_EQUAL;
  if (first == '!' && second == '=') return ZKPARSE_OP_NOT_EQUAL;
  if (first == '>' || first == '<') {
    if (second == '=') return first == '>' ? ZKPARSE_OP_GREATER_EQUAL : ZKPARSE_OP_LESS_EQUAL;
    if (second == kEnd) return ZKPARSE_OP_NONE;
    UnreadChar();
    return first == '>' ? ZKPARSE_OP_GREATER : ZKPARSE_OP_LESS;
  }
  // Not an operator: what was read stays consumed; the caller fails on it anyway.
  return ZKPARSE_OP_NONE;
}

bool CZKParse::IsValueTerminator(int byte) {
  return byte == ' ' || byte == kLineFeed || byte == kCarriageReturn || byte == '\t' ||
         byte == ',' || byte == ')';
}

namespace {

// Both comparisons apply the operator to the left and the right operand.
template <typename Number>
bool Compare(int code, Number a, Number b) {
  switch (code) {
    case ZKPARSE_OP_EQUAL:
      return a == b;
    case ZKPARSE_OP_NOT_EQUAL:
      return a != b;
    case ZKPARSE_OP_GREATER:
      return a > b;
    case ZKPARSE_OP_LESS:
      return a < b;
    case ZKPARSE_OP_GREATER_EQUAL:
      return a >= b;
    case ZKPARSE_OP_LESS_EQUAL:
      return a <= b;
    default:
      return false;
  }
}

}  // namespace

bool CZKParse::CompareInt(int code, std::int32_t a, std::int32_t b) {
  return Compare(code, a, b);
}

// Floats compare exactly, with no tolerance; a NaN on either side makes only "!=" true.
bool CZKParse::CompareFloat(int code, float a, float b) {
  return Compare(code, a, b);
}
