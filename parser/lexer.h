// The lexer: every byte-level scan of one script's text (blanks and comments, names, operators,
// number literals, quoted strings). It owns the text and keeps the read position and the line
// counter, and it reports nothing: each scan returns what it found, and the parser decides what
// that means and what to report. There is no token stream; the grammar calls the scan it needs
// and backs up one byte with UnreadChar where it has read too far. Nothing here allocates.
#pragma once

#include <algorithm>
#include <cstdint>

// What ReadChar returns at the end of the text; bytes are 0..255.
constexpr int kEndOfText = -1;
// The only byte the line counter counts: CR LF and LF files count each line once.
constexpr unsigned char kLineFeed = 10;

// Comparison operators of the conditional include, as ReadOperator returns them.
enum : int {
  ZKPARSE_OP_NONE = 0,
  ZKPARSE_OP_EQUAL = 1,          // ==
  ZKPARSE_OP_NOT_EQUAL = 2,      // !=
  ZKPARSE_OP_GREATER = 3,        // >
  ZKPARSE_OP_LESS = 4,           // <
  ZKPARSE_OP_GREATER_EQUAL = 5,  // >=
  ZKPARSE_OP_LESS_EQUAL = 6      // <=
};

class Lexer final {
 public:
  Lexer() = default;
  ~Lexer() { delete[] text; }
  // Owns its text.
  Lexer(const Lexer&) = delete;
  Lexer& operator=(const Lexer&) = delete;

  // Takes over text (length bytes allocated with new[], no terminating zero) and starts at its
  // first byte, on line 1.
  void Take(char* newText, std::uint32_t newLength);

  int ReadChar();          // the byte at pos, then pos advances; kEndOfText at the end
  int UnreadChar();        // steps back one byte; kEndOfText (and no change) at the start
  int SkipSpace();         // blanks and comments; 0 if text remains, kEndOfText at the end
  int SkipLineComment();   // after "//": 0 after the line feed, kEndOfText at the end
  int SkipBlockComment();  // after "/*": 0 after the closing pair, kEndOfText at the end
  // Reads a name (a run of letters, digits and underscores) into buffer, size bytes with the
  // zero: 0 read (possibly empty), kEndOfText the text ended while reading (the name may still be
  // whole), 1 the name does not fit: buffer then holds its first size - 1 bytes and pos is at the
  // byte that found no room.
  int ReadWord(char* buffer, int size);
  int ReadOperator();  // one of ZKPARSE_OP_*; what was read stays consumed when it is none
  // Space, line feed, carriage return, tab, comma and the closing round bracket.
  static bool IsValueTerminator(int byte);
  static bool IsDigit(int byte) { return byte >= '0' && byte <= '9'; }

  // The digits of a number literal from pos on, consumed; next is the byte after them (unread),
  // or kEndOfText. Digits only: a sign is the grammar's.
  struct IntDigits {
    std::uint32_t value;  // modulo 2^32: the language's integers wrap
    bool any;
    bool beyond32Bits;  // the digits' value did not fit 32 bits and wrapped
    int next;
  };
  IntDigits ReadIntDigits();
  // Digits with an optional fraction after a point ("1." is 1); there is no exponent.
  struct FloatDigits {
    double value;
    bool any;
    int next;
  };
  FloatDigits ReadFloatDigits();

  // After the opening quote: the string's bytes up to the closing quote, which a backslash
  // escapes. Everything up to and including the closing quote is consumed, or the rest of the
  // text when there is none; the line feeds in it count, raw and escaped alike.
  struct QuotedText {
    const char* begin;
    const char* end;  // the closing quote, or the end of the text
    bool closed;
    bool escapes;  // a backslash occurs: the value is not a plain copy of the bytes
  };
  QuotedText ReadQuoted();
  // Writes the value of a string's bytes with their escapes resolved (\n is CR LF, \t a tab, a
  // backslash at a line end joins the lines, any other escaped byte is itself) to out, which
  // holds end - begin bytes at least; returns the end of what it wrote.
  static char* Unescape(const char* begin, const char* end, char* out);

  // The line of the "/*" of a block comment that ran to the end of the text, or 0.
  std::int32_t UnclosedCommentLine() const { return unclosedCommentLine_; }

  char* text = nullptr;  // length bytes, no terminating zero; null when the file was not read
  std::uint32_t length = 0;
  std::uint32_t pos = 0;  // next byte to read, 0 <= pos <= length
  std::int32_t line = 1;  // from 1; counts the line feeds consumed

 private:
  int SkipBlanksAndComments();  // SkipSpace beyond its first byte
  // The digits from begin to end without their leading zeros.
  std::uint32_t SignificantDigits(std::uint32_t begin, std::uint32_t end) const;

  std::int32_t unclosedCommentLine_ = 0;
};

// The two steps every other scan is made of, inline: they run once per byte.
inline int Lexer::ReadChar() {
  if (pos >= length) return kEndOfText;
  const unsigned char byte = static_cast<unsigned char>(text[pos]);
  if (byte == kLineFeed) ++line;
  ++pos;
  return byte;
}

inline int Lexer::UnreadChar() {
  if (pos == 0) return kEndOfText;
  --pos;
  if (text[pos] == kLineFeed) --line;
  return 0;
}

// The value scans are inline as well: every argument of every call is one.

inline bool Lexer::IsValueTerminator(int byte) {
  return byte == ' ' || byte == kLineFeed || byte == '\r' || byte == '\t' || byte == ',' ||
         byte == ')';
}

// A number's bytes are never line feeds: only pos moves.

inline Lexer::IntDigits Lexer::ReadIntDigits() {
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  std::uint32_t at = pos;
  // Gathered in 64 bits, whose low half is the value modulo 2^32 whatever the length; the high
  // half tells a value beyond 32 bits as long as the digits fit 64 bits, and only longer digit
  // runs need a second look.
  std::uint64_t wide = 0;
  while (at < length && IsDigit(bytes[at])) wide = wide * 10u + (bytes[at++] - '0');
  IntDigits digits = {static_cast<std::uint32_t>(wide), at != pos, (wide >> 32) != 0, kEndOfText};
  if (at - pos > 19) digits.beyond32Bits = SignificantDigits(pos, at) > 10 || digits.beyond32Bits;
  if (at < length) digits.next = bytes[at];
  pos = at;
  return digits;
}

inline Lexer::FloatDigits Lexer::ReadFloatDigits() {
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  std::uint32_t at = pos;
  FloatDigits digits = {0.0, false, kEndOfText};
  while (at < length && IsDigit(bytes[at]))
    digits.value = digits.value * 10.0 + (bytes[at++] - '0');
  digits.any = at != pos;
  if (digits.any && at < length && bytes[at] == '.') {
    // The fraction's digits are gathered like the integer's and scaled once at the end; a point
    // without digits leaves the value as it is.
    double scale = 1.0;
    ++at;
    while (at < length && IsDigit(bytes[at])) {
      digits.value = digits.value * 10.0 + (bytes[at++] - '0');
      scale *= 0.1;
    }
    digits.value *= scale;
  }
  if (at < length) digits.next = bytes[at];
  pos = at;
  return digits;
}

// The closing quote is found first (the byte after a backslash never closes), so that the parser
// can write the string once: a string is never longer than its text.
inline Lexer::QuotedText Lexer::ReadQuoted() {
  const char* const start = text + pos;
  const char* const end = text + length;
  const char* close = start;
  bool escapes = false;
  while (close < end && *close != '"') {
    if (*close == '\\') {
      escapes = true;
      ++close;
      if (close == end) break;
    }
    ++close;
  }
  const char* const consumed = close < end ? close + 1 : end;
  line += static_cast<std::int32_t>(std::count(start, consumed, static_cast<char>(kLineFeed)));
  pos = static_cast<std::uint32_t>(consumed - text);
  return QuotedText{start, close < end ? close : end, close < end, escapes};
}

// Called before nearly every token, which most often stands right there: that case is answered
// here, and only blanks and comments are walked out of line.
inline int Lexer::SkipSpace() {
  if (pos < length) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    // Every blank is a control byte or the space.
    if (byte > ' ' && byte != '/') return 0;
  }
  return SkipBlanksAndComments();
}
