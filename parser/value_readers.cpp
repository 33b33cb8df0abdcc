// The three typed value readers. The caller decides the type, never the text: the same word is an
// int in one place and a float in another. Each reader takes a literal of its type, a variable
// reference ('%' and a name, answered by a host callback) or the name of a constant defined
// earlier, and returns a new value or null with the error flag set (1 after a report, -1 when a
// name ran into the end of the text).
#include <cstring>

#include "zk_parse.h"

namespace {

constexpr int kEnd = -1;

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
  return new CZKPARSE_INT(value, name);
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
  return new CZKPARSE_FLOAT(value, name);
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
  return new CZKPARSE_STRING(value, name);
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

// --- Literals --------------------------------------------------------------------------------

CZKPARSE_INT* CZKParse::ReadIntLiteral(bool negative, int* error) {
  // Blanks and comments may stand between a minus sign and its digits.
  if (negative) SkipSpace();
  // Unsigned, so that overflow wraps around as the language wants, without a range check.
  std::uint32_t value = 0;
  bool anyDigit = false;
  int byte = ReadChar();
  while (IsDigit(byte)) {
    value = value * 10u + static_cast<std::uint32_t>(byte - '0');
    anyDigit = true;
    byte = ReadChar();
  }
  if (!anyDigit) {
    ReportError("expected number");
    *error = 1;
    return nullptr;
  }
  if (!IsValueTerminator(byte)) {
    ReportError("invalid termination of integer");
    *error = 1;
    return nullptr;
  }
  UnreadChar();  // the terminator belongs to the grammar
  if (negative) value = 0u - value;
  return new CZKPARSE_INT(static_cast<std::int32_t>(value), nullptr);
}

CZKPARSE_FLOAT* CZKParse::ReadFloatLiteral(bool negative, int* error) {
  if (negative) SkipSpace();
  double value = 0.0;
  bool anyDigit = false;
  int byte = ReadChar();
  while (IsDigit(byte)) {
    value = value * 10.0 + (byte - '0');
    anyDigit = true;
    byte = ReadChar();
  }
  if (!anyDigit) {
    ReportError("expected number");
    *error = 1;
    return nullptr;
  }
  if (byte == '.') {
    // The fraction's digits are gathered like the integer's and scaled once at the end; a point
    // without digits leaves the value as it is.
    double scale = 1.0;
    byte = ReadChar();
    while (IsDigit(byte)) {
      value = value * 10.0 + (byte - '0');
      scale *= 0.1;
      byte = ReadChar();
    }
    value *= scale;
  }
  // There is no exponent: "1e5" ends on the 'e'.
  if (!IsValueTerminator(byte)) {
    ReportError("invalid termination of float");
    *error = 1;
    return nullptr;
  }
  UnreadChar();
  if (negative) value = -value;
  return new CZKPARSE_FLOAT(static_cast<float>(value), nullptr);
}

// After the opening quote, up to the closing one, assembled in stringBuffer.
CZKPARSE_STRING* CZKParse::ReadQuotedString(int* error) {
  // stringBuffer is as long as the text, and the stored bytes never outnumber the bytes read
  // after the opening quote, so the string and its zero always fit. The bound is kept anyway.
  std::uint32_t stored = 0;
  const auto store = [this, &stored](int byte) {
    if (stored + 1 < length) stringBuffer[stored++] = static_cast<char>(byte);
  };
  for (;;) {
    int byte = ReadChar();
    if (byte == kEnd) break;
    if (byte == '"') {
      stringBuffer[stored] = '\0';
      return new CZKPARSE_STRING(stringBuffer, nullptr);
    }
    if (byte != '\\') {
      store(byte);  // line breaks included: a raw line break stays in the string
      continue;
    }
    byte = ReadChar();
    if (byte == kEnd) break;
    if (byte == 'n') {
      store('\r');
      store('\n');
    } else if (byte == 't') {
      store('\t');
    } else if (byte == '\r' || byte == '\n') {
      // A backslash at the end of a line continues the string on the next one, without a line
      // break, whichever of CR LF, LF CR, CR or LF ends the line.
      const int pair = byte == '\r' ? '\n' : '\r';
      const int following = ReadChar();
      if (following != pair && following != kEnd) UnreadChar();
    } else {
      store(byte);  // \" gives a quote, \\ a backslash, any other byte itself
    }
  }
  ReportError("expected ending \"");
  *error = 1;
  return nullptr;
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
  return new CZKPARSE_INT(static_cast<const CZKPARSE_INT*>(constant)->value, nullptr);
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
  return new CZKPARSE_FLOAT(static_cast<const CZKPARSE_FLOAT*>(constant)->value, nullptr);
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
  return new CZKPARSE_STRING(static_cast<const CZKPARSE_STRING*>(constant)->value, nullptr);
}
