#include "lexer.h"

#include <cstring>

namespace {

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

void Lexer::Take(char* newText, std::uint32_t newLength) {
  delete[] text;
  text = newText;
  length = newLength;
  pos = 0;
  line = 1;
  unclosedCommentLine_ = 0;
}

// The scans walk the text with a pointer of their own and store pos and line once at the end;
// they consume exactly what a walk with ReadChar and UnreadChar would.

int Lexer::SkipBlanksAndComments() {
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
      if (!closed) return kEndOfText;
      at = bytes + pos;
    } else {
      // Anything else, a lone slash included, belongs to the grammar.
      break;
    }
  }
  pos = static_cast<std::uint32_t>(at - bytes);
  return at < end ? 0 : kEndOfText;
}

int Lexer::SkipLineComment() {
  const char* const start = text + pos;
  const void* const lineFeed = std::memchr(start, kLineFeed, length - pos);
  if (lineFeed == nullptr) {
    pos = length;
    return kEndOfText;
  }
  pos += static_cast<std::uint32_t>(static_cast<const char*>(lineFeed) - start) + 1;
  ++line;
  return 0;
}

int Lexer::SkipBlockComment() {
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
  if (closed == nullptr) unclosedCommentLine_ = line;
  const unsigned char* const stop = closed != nullptr ? closed : end;
  line += CountLineFeeds(at, stop);
  pos = static_cast<std::uint32_t>(stop - bytes);
  return closed != nullptr ? 0 : kEndOfText;
}

int Lexer::ReadWord(char* buffer, int size) {
  if (size < 1) return 1;  // no room even for the terminating zero
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  const std::uint32_t start = pos;
  std::uint32_t stop = start;
  while (stop < length && kWordBytes.is[bytes[stop]]) ++stop;
  const std::uint32_t count = stop - start;
  // Word bytes are never line feeds: line stays as it is.
  if (count > static_cast<std::uint32_t>(size - 1)) {
    std::memcpy(buffer, text + start, static_cast<std::size_t>(size - 1));
    buffer[size - 1] = '\0';
    pos = start + static_cast<std::uint32_t>(size - 1);
    return 1;
  }
  std::memcpy(buffer, text + start, count);
  buffer[count] = '\0';
  pos = stop;
  // The name may be complete when the text ends, but the caller must know.
  return stop < length ? 0 : kEndOfText;
}

int Lexer::ReadOperator() {
  const int first = ReadChar();
  const int second = ReadChar();
  if (first == '=' && second == '=') return ZKPARSE_OP_EQUAL;
  if (first == '!' && second == '=') return ZKPARSE_OP_NOT_EQUAL;
  if (first == '>' || first == '<') {
    if (second == '=') return first == '>' ? ZKPARSE_OP_GREATER_EQUAL : ZKPARSE_OP_LESS_EQUAL;
    if (second == kEndOfText) return ZKPARSE_OP_NONE;
    UnreadChar();
    return first == '>' ? ZKPARSE_OP_GREATER : ZKPARSE_OP_LESS;
  }
  return ZKPARSE_OP_NONE;
}

std::uint32_t Lexer::SignificantDigits(std::uint32_t begin, std::uint32_t end) const {
  while (begin < end && text[begin] == '0') ++begin;
  return end - begin;
}

char* Lexer::Unescape(const char* begin, const char* end, char* out) {
  for (const char* at = begin; at < end; ++at) {
    if (*at != '\\') {
      *out++ = *at;  // line breaks included: a raw line break stays in the string
      continue;
    }
    const char escaped = *++at;
    if (escaped == 'n') {
      *out++ = '\r';
      *out++ = '\n';
    } else if (escaped == 't') {
      *out++ = '\t';
    } else if (escaped == '\r' || escaped == '\n') {
      // A backslash at the end of a line continues the string on the next one, without a line
      // break, whichever of CR LF, LF CR, CR or LF ends the line.
      const char pair = escaped == '\r' ? '\n' : '\r';
      if (at + 1 < end && at[1] == pair) ++at;
    } else {
      *out++ = escaped;  // \" gives a quote, \\ a backslash, any other byte itself
    }
  }
  return out;
}
