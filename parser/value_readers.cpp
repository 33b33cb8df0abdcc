// The three typed value readers. The caller decides the type, never the text: the same word is an
// int in one place and a float in another. Each reader takes a literal of its type, a variable
// reference ('%' and a name, answered by a host callback) or the name of a constant defined
// earlier, and returns a new value or null with the error flag set (1 after a report, -1 when a
// name ran into the end of the text).
#include <cmath>
#include <cstring>

#include "zk_parse.h"

// --- Variable references ---------------------------------------------------------------------

// The name after the '%'; a failure of ReadName is the reader's failure, with its result as flag.
// A host that gave no callback for the reader's type cannot answer any variable of it.
bool CZKParse::ReadVariableName(char (&name)[kNameSize], bool haveCallback, int* error) {
  const int result = ReadName(name);
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
  const int result = ReadName(name);
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

// The literal readers take the lexer's digits and decide: no digit, or a byte after them that
// cannot end a value, is an error; the terminator belongs to the grammar and stays unread.

bool CZKParse::DigitsEndAValue(bool any, int next, const char* type, int* error) {
  if (any && Lexer::IsValueTerminator(next)) return true;
  lexer.ReadChar();  // the byte that is wrong has been read when the error is reported
  if (any) {
    ReportError("invalid termination of %s", type);
  } else {
    ReportError("expected number");
  }
  *error = 1;
  return false;
}

CZKPARSE_INT* CZKParse::ReadIntLiteral(bool negative, int* error) {
  // Blanks and comments may stand between a minus sign and its digits.
  if (negative) lexer.SkipSpace();
  const std::int32_t literalLine = lexer.line;
  const Lexer::IntDigits digits = lexer.ReadIntDigits();
  if (!DigitsEndAValue(digits.any, digits.next, "integer", error)) return nullptr;
  // Unsigned, so that it wraps around as the language wants; the checker hears of it.
  const std::uint32_t value = negative ? 0u - digits.value : digits.value;
  if (digits.beyond32Bits || digits.value > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
    Tell(ScriptProblem::kWarning, false, literalLine,
         "integer literal outside the 32-bit range, read as %d",
         static_cast<int>(static_cast<std::int32_t>(value)));
  }
  return NewInt(static_cast<std::int32_t>(value), nullptr);
}

CZKPARSE_FLOAT* CZKParse::ReadFloatLiteral(bool negative, int* error) {
  if (negative) lexer.SkipSpace();
  const std::int32_t literalLine = lexer.line;
  const Lexer::FloatDigits digits = lexer.ReadFloatDigits();
  // There is no exponent: "1e5" ends on the 'e'.
  if (!DigitsEndAValue(digits.any, digits.next, "float", error)) return nullptr;
  const float value = static_cast<float>(negative ? -digits.value : digits.value);
  // Digits enough to overflow a double while the fraction's scale underflows give infinity
  // times zero.
  if (!std::isfinite(value)) {
    if (std::isnan(value)) {
      Tell(ScriptProblem::kWarning, false, literalLine,
           "float literal too long, read as not a number");
    } else {
      Tell(ScriptProblem::kWarning, false, literalLine,
           "float literal too large or too long, read as infinity");
    }
  }
  return NewFloat(value, nullptr);
}

// After the opening quote, up to the closing one, written once, straight into the arena: a string
// with no backslash is a copy of its bytes.
CZKPARSE_STRING* CZKParse::ReadQuotedString(int* error) {
  const Lexer::QuotedText quoted = lexer.ReadQuoted();
  if (!quoted.closed) {
    ReportError("expected ending \"");
    *error = 1;
    return nullptr;
  }
  const std::size_t size = static_cast<std::size_t>(quoted.end - quoted.begin);
  if (!quoted.escapes) return NewString(arena.CopyText(quoted.begin, size), nullptr);
  char* const value = static_cast<char*>(arena.Allocate(size + 1, 1));
  *Lexer::Unescape(quoted.begin, quoted.end, value) = '\0';
  return NewString(value, nullptr);
}

// --- The readers -----------------------------------------------------------------------------

CZKPARSE_INT* CZKParse::ReadInt(int* error) {
  const int byte = lexer.ReadChar();
  if (byte == '%') return ReadIntVariable(error);
  if (byte == '-') return ReadIntLiteral(true, error);
  // Anything else is a constant's name (at the end of the text an empty one, which fails with -1).
  if (byte != kEndOfText) lexer.UnreadChar();
  if (Lexer::IsDigit(byte)) return ReadIntLiteral(false, error);
  const CZKPARSE_PARAM* constant =
      FindConstant(error, ZKPARSE_TYPE_INT, "'%s' const type != 'int'");
  if (constant == nullptr) return nullptr;
  return NewInt(static_cast<const CZKPARSE_INT*>(constant)->value, nullptr);
}

CZKPARSE_FLOAT* CZKParse::ReadFloat(int* error) {
  const int byte = lexer.ReadChar();
  if (byte == '%') return ReadFloatVariable(error);
  if (byte == '-') return ReadFloatLiteral(true, error);
  // A leading point is no number: ".5" is read as a name, and an empty one at that.
  if (byte != kEndOfText) lexer.UnreadChar();
  if (Lexer::IsDigit(byte)) return ReadFloatLiteral(false, error);
  const CZKPARSE_PARAM* constant =
      FindConstant(error, ZKPARSE_TYPE_FLOAT, "'%s' const type != 'float'");
  if (constant == nullptr) return nullptr;
  return NewFloat(static_cast<const CZKPARSE_FLOAT*>(constant)->value, nullptr);
}

CZKPARSE_STRING* CZKParse::ReadString(int* error) {
  const int byte = lexer.ReadChar();
  if (byte == '%') return ReadStringVariable(error);
  if (byte == '"') return ReadQuotedString(error);
  // A digit or minus sign is no string: it starts a constant's name here.
  if (byte != kEndOfText) lexer.UnreadChar();
  const CZKPARSE_PARAM* constant =
      FindConstant(error, ZKPARSE_TYPE_STRING, "'%s' const type != 'string'");
  if (constant == nullptr) return nullptr;
  return NewString(arena.CopyText(static_cast<const CZKPARSE_STRING*>(constant)->value), nullptr);
}
