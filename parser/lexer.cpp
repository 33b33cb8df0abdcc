// The lexer: byte by byte over the parser's text, with pos as the read position and line as the
// line counter. There is no token stream; each part of the grammar calls what it needs and backs
// up one byte with UnreadChar where it has read too far. Nothing here allocates.
#include <cstring>

#include "zk_parse.h"

namespace {

constexpr int kEnd = -1;
constexpr unsigned char kLineFeed = 10;

// The word bytes: letters, digits and the underscore. A table, because names are read a byte at a
// time in every statement.
struct WordBytes {
  bool is[256] = {};
  constexpr WordBytes() {
    for (int byte = 0; byte < 256; ++byte) {
      is[byte] = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                 (byte >= '0' && byte <= '9') || byte == '_';
    }
  }
};
constexpr WordBytes kWordBytes;

std::int32_t CountLineFeeds(const unsigned char* from, const unsigned char* to) {
  std::int32_t count = 0;
  for (; from < to; ++from) count += *from == kLineFeed;
  return count;
}

}  // namespace

// The skipping operations walk the text with a pointer of their own and store pos and line once
// at the end; they consume exactly what a walk with ReadChar and UnreadChar would.

int CZKParse::SkipBlanksAndComments() {
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* const end = bytes + length;
  const unsigned char* at = bytes + pos;
  while (at < end) {
    const unsigned char byte = *at;
    if (byte == ' ' || byte == '\t' || byte == '\r') {
      ++at;
    } else if (byte == kLineFeed) {
      ++line;
      ++at;
    } else if (byte == '/' && at + 1 < end && (at[1] == '/' || at[1] == '*')) {
      pos = static_cast<std::uint32_t>(at + 2 - bytes);
      const bool closed = at[1] == '/' ? SkipLineComment() == 0 : SkipBlockComment() == 0;
      if (!closed) return kEnd;
      at = bytes + pos;
    } else {
      // Anything else, a lone slash included, belongs to the grammar.
      break;
    }
  }
  pos = static_cast<std::uint32_t>(at - bytes);
  return at < end ? 0 : kEnd;
}

int CZKParse::SkipLineComment() {
  const char* const start = text + pos;
  const void* const lineFeed = std::memchr(start, kLineFeed, length - pos);
  if (lineFeed == nullptr) {
    pos = length;
    return kEnd;
  }
  pos += static_cast<std::uint32_t>(static_cast<const char*>(lineFeed) - start) + 1;
  ++line;
  return 0;
}

int CZKParse::SkipBlockComment() {
  // The first "*/" from pos on ends the comment; "**/" ends at its slash as well.
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* const end = bytes + length;
  const unsigned char* at = bytes + pos;
  const unsigned char* closed = nullptr;
  for (const unsigned char* star = at; star + 1 < end; ++star) {
    if (star[0] == '*' && star[1] == '/') {
      closed = star + 2;
      break;
    }
  }
  const unsigned char* const stop = closed != nullptr ? closed : end;
  line += CountLineFeeds(at, stop);
  pos = static_cast<std::uint32_t>(stop - bytes);
  return closed != nullptr ? 0 : kEnd;
}

int CZKParse::ReadWord(char* buffer, int size) {
  if (size < 1) return 1;  // no room even for the terminating zero
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  const std::uint32_t start = pos;
  std::uint32_t stop = start;
  while (stop < length && kWordBytes.is[bytes[stop]]) ++stop;
  const std::uint32_t count = stop - start;
  // Word bytes are never line feeds: line stays as it is.
  if (count > static_cast<std::uint32_t>(size - 1)) {
    // The byte that found no room has been read when the limit is reported, and is given back
    // after it.
    std::memcpy(buffer, text + start, static_cast<std::size_t>(size - 1));
    buffer[size - 1] = '\0';
    pos = start + static_cast<std::uint32_t>(size);
    ReportError("word limit exceeded");
    --pos;
    return 1;
  }
  std::memcpy(buffer, text + start, count);
  buffer[count] = '\0';
  pos = stop;
  // The name may be complete when the text ends, but the caller must know.
  return stop < length ? 0 : kEnd;
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
  return byte == ' ' || byte == kLineFeed || byte == '\r' || byte == '\t' || byte == ',' ||
         byte == ')';
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
