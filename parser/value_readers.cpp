// The three typed value readers. The caller decides the type, never the text: the same word is an
// int in one place and a float in another. Each reader takes a literal of its type, a variable
// reference ('%' and a name, answered by a host callback) or the name of a constant defined
// earlier, and returns a new value or null with the error flag set (1 after a report, -1 when a
// name ran into the end of the text).
#include <algorithm>
#include <cstring>

#include "zk_parse.h"

namespace {

constexpr int kEnd = -1;
constexpr unsigned char kLineFeedByte = 10;

bool IsDigit(int byte) {
  return byte >= '0' && byte <= '9';
}

}  // namespace

// --- Variable references ---------------------------------------------------------------------

// The name after the '%'; a failure of ReadWord is the reader's failure, with its result as flag.
// A host that gave no callback for the reader's type cannot answer any variable of it.
bool CZKParse::ReadVariableName(char (&name)[kNameSize], bool haveCallback, int* error) {
  const int result = ReadWord(name, kNameSize);
  if (result != 0) {
    *error = result;
    return false;
  }
  if (!haveCallback) {
    ReportError("variable callback not specified: unable to read '%s' variable!\n", name);
    *error = 1;
    return false;
  }
  return true;
}

CZKPARSE_INT* CZKParse::ReadIntVariable(int* error) {
  char name[kNameSize];
  if (!ReadVariableName(name, intVariable != nullptr, error)) return nullptr;
  int value = 0;
  if (!intVariable(&value, name)) {
    ReportError("int variable '%s' not found!\n", name);
    *error = 1;
    return nullptr;
  }
  return NewInt(value, name);
}

CZKPARSE_FLOAT* CZKParse::ReadFloatVariable(int* error) {
  char name[kNameSize];
  if (!ReadVariableName(name, floatVariable != nullptr, error)) return nullptr;
  float value = 0.0f;
  if (!floatVariable(&value, name)) {
    ReportError("float variable '%s' not found!\n", name);
    *error = 1;
    return nullptr;
  }
  return NewFloat(value, name);
}

CZKPARSE_STRING* CZKParse::ReadStringVariable(int* error) {
  char name[kNameSize];
  if (!ReadVariableName(name, stringVariable != nullptr, error)) return nullptr;
  // On the stack: the value is copied into the new object at once. Zeroed and terminated at its
  // last byte, so that a host that overfills it cannot make the copy run past the buffer.
  char value[kStringVariableSize] = {};
  if (!stringVariable(value, name)) {
    ReportError("string variable '%s' not found!\n", name);
    *error = 1;
    return nullptr;
  }
  value[kStringVariableSize - 1] = '\0';
  return NewString(arena.CopyText(value), name);
}

// --- Constants -------------------------------------------------------------------------------

// Reads a constant's name and finds its value, which must be of the reader's type. The latest
// definition of a name hides earlier ones. typeMismatch is the reader's message for a constant of
// another type.
const CZKPARSE_PARAM* CZKParse::FindConstant(int* error, std::int32_t type,
                                             const char* typeMismatch) {
  char name[kNameSize];
  const int result = ReadWord(name, kNameSize);
  if (result != 0) {
    *error = result;
    return nullptr;
  }
  const CZKPARSE_KEYWORD* constant = constantIndex.Find(constants, name);
  if (constant == nullptr) {
    ReportError("unknown const name '%s'", name);
    *error = 1;
    return nullptr;
  }
  // No conversion between types: an int constant is refused where a float is expected.
  if (constant->params == nullptr || constant->params->type != type) {
    ReportError(typeMismatch, name);
    *error = 1;
    return nullptr;
  }
  return constant->params;
}

// --- Values in the arena ---------------------------------------------------------------------

// Made with null names and strings, which the value classes would copy to the heap, and given the
// arena's copies afterwards: an object in the arena holds nothing of its own.
CZKPARSE_INT* CZKParse::NewInt(std::int32_t value, const char* name) {
  CZKPARSE_INT* const made = arena.New<CZKPARSE_INT>(value, nullptr);
  made->name = arena.CopyText(name);
  return made;
}

CZKPARSE_FLOAT* CZKParse::NewFloat(float value, const char* name) {
  CZKPARSE_FLOAT* const made = arena.New<CZKPARSE_FLOAT>(value, nullptr);
  made->name = arena.CopyText(name);
  return made;
}

CZKPARSE_STRING* CZKParse::NewString(char* arenaValue, const char* name) {
  CZKPARSE_STRING* const made = arena.New<CZKPARSE_STRING>(nullptr, nullptr);
  made->value = arenaValue;
  made->name = arena.CopyText(name);
  return made;
}

// --- Literals --------------------------------------------------------------------------------

// The literal readers walk the digits with a pointer of their own. A number's bytes are never line
// feeds, and the byte that ends it is given back unless it is wrong, so only pos moves.

CZKPARSE_INT* CZKParse::ReadIntLiteral(bool negative, int* error) {
  // Blanks and comments may stand between a minus sign and its digits.
  if (negative) SkipSpace();
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  std::uint32_t at = pos;
  // Unsigned, so that overflow wraps around as the language wants, without a range check.
  std::uint32_t value = 0;
  while (at < length && IsDigit(bytes[at])) value = value * 10u + (bytes[at++] - '0');
  const bool anyDigit = at != pos;
  const int byte = at < length ? bytes[at] : kEnd;
  pos = at;
  if (!anyDigit) {
    ReadChar();  // the byte that is no digit has been read when the error is reported
    ReportError("expected number");
    *error = 1;
    return nullptr;
  }
  if (!IsValueTerminator(byte)) {
    ReadChar();
    ReportError("invalid termination of integer");
    *error = 1;
    return nullptr;
  }
  // The terminator belongs to the grammar: it stays unread.
  if (negative) value = 0u - value;
  return NewInt(static_cast<std::int32_t>(value), nullptr);
}

CZKPARSE_FLOAT* CZKParse::ReadFloatLiteral(bool negative, int* error) {
  if (negative) SkipSpace();
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
  std::uint32_t at = pos;
  double value = 0.0;
  while (at < length && IsDigit(bytes[at])) value = value * 10.0 + (bytes[at++] - '0');
  const bool anyDigit = at != pos;
  if (anyDigit && at < length && bytes[at] == '.') {
    // The fraction's digits are gathered like the integer's and scaled once at the end; a point
    // without digits leaves the value as it is.
    double scale = 1.0;
    ++at;
    while (at < length && IsDigit(bytes[at])) {
      value = value * 10.0 + (bytes[at++] - '0');
      scale *= 0.1;
    }
    value *= scale;
  }
  const int byte = at < length ? bytes[at] : kEnd;
  pos = at;
  if (!anyDigit) {
    ReadChar();
    ReportError("expected number");
    *error = 1;
    return nullptr;
  }
  // There is no exponent: "1e5" ends on the 'e'.
  if (!IsValueTerminator(byte)) {
    ReadChar();
    ReportError("invalid termination of float");
    *error = 1;
    return nullptr;
  }
  if (negative) value = -value;
  return NewFloat(static_cast<float>(value), nullptr);
}

// After the opening quote, up to the closing one. The closing quote is found first (the byte
// after a backslash never closes), so that the string is written once, straight into the arena: a
// string is never longer than its text, and one without backslashes is a copy of it.
CZKPARSE_STRING* CZKParse::ReadQuotedString(int* error) {
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
  // Every byte up to the closing quote, or to the end of the text, is consumed; raw line feeds and
  // escaped ones count alike.
  const char* const consumed = close < end ? close + 1 : end;
  line += static_cast<std::int32_t>(std::count(start, consumed, static_cast<char>(kLineFeedByte)));
  pos = static_cast<std::uint32_t>(consumed - text);
  if (close >= end) {
    ReportError("expected ending \"");
    *error = 1;
    return nullptr;
  }
  if (!escapes) {
    return NewString(arena.CopyText(start, static_cast<std::size_t>(close - start)), nullptr);
  }

  char* const value =
      static_cast<char*>(arena.Allocate(static_cast<std::size_t>(close - start) + 1, 1));
  char* stored = value;
  for (const char* at = start; at < close; ++at) {
    if (*at != '\\') {
      *stored++ = *at;  // line breaks included: a raw line break stays in the string
      continue;
    }
    const char escaped = *++at;
    if (escaped == 'n') {
      *stored++ = '\r';
      *stored++ = '\n';
    } else if (escaped == 't') {
      *stored++ = '\t';
    } else if (escaped == '\r' || escaped == '\n') {
      // A backslash at the end of a line continues the string on the next one, without a line
      // break, whichever of CR LF, LF CR, CR or LF ends the line.
      const char pair = escaped == '\r' ? '\n' : '\r';
      if (at + 1 < close && at[1] == pair) ++at;
    } else {
      *stored++ = escaped;  // \" gives a quote, \\ a backslash, any other byte itself
    }
  }
  *stored = '\0';
  return NewString(value, nullptr);
}

// --- The readers -----------------------------------------------------------------------------

CZKPARSE_INT* CZKParse::ReadInt(int* error) {
  const int byte = ReadChar();
  if (byte == '%') return ReadIntVariable(error);
  if (byte == '-') return ReadIntLiteral(true, error);
  // Anything else is a constant's name (at the end of the text an empty one, which fails with -1).
  if (byte != kEnd) UnreadChar();
  if (IsDigit(byte)) return ReadIntLiteral(false, error);
  const CZKPARSE_PARAM* constant =
      FindConstant(error, ZKPARSE_TYPE_INT, "'%s' const type != 'int'");
  if (constant == nullptr) return nullptr;
  return NewInt(static_cast<const CZKPARSE_INT*>(constant)->value, nullptr);
}

CZKPARSE_FLOAT* CZKParse::ReadFloat(int* error) {
  const int byte = ReadChar();
  if (byte == '%') return ReadFloatVariable(error);
  if (byte == '-') return ReadFloatLiteral(true, error);
  // A leading point is no number: ".5" is read as a name, and an empty one at that.
  if (byte != kEnd) UnreadChar();
  if (IsDigit(byte)) return ReadFloatLiteral(false, error);
  const CZKPARSE_PARAM* constant =
      FindConstant(error, ZKPARSE_TYPE_FLOAT, "'%s' const type != 'float'");
  if (constant == nullptr) return nullptr;
  return NewFloat(static_cast<const CZKPARSE_FLOAT*>(constant)->value, nullptr);
}

CZKPARSE_STRING* CZKParse::ReadString(int* error) {
  const int byte = ReadChar();
  if (byte == '%') return ReadStringVariable(error);
  if (byte == '"') return ReadQuotedString(error);
  // A digit or minus sign is no string: it starts a constant's name here.
  if (byte != kEnd) UnreadChar();
  const CZKPARSE_PARAM* constant =
      FindConstant(error, ZKPARSE_TYPE_STRING, "'%s' const type != 'string'");
  if (constant == nullptr) return nullptr;
  return NewString(arena.CopyText(static_cast<const CZKPARSE_STRING*>(constant)->value), nullptr);
}
