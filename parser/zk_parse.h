// The parser object: one per script file. It holds the lexer over the whole file, the constants
// the script has defined so far and the host's variable callbacks, and it decides what each thing
// the lexer finds means and what is reported. It lives only while its file is parsed; the
// statement lists it builds outlive it.
//
// Used from one thread at a time: every report goes through one static buffer.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "filesystem_api.h"
#include "lexer.h"
#include "name_index.h"
#include "parse_arena.h"
#include "parse_keyword.h"
#include "parse_values.h"
#include "printf_format.h"

// Host callbacks for a variable reference ('%' and a name). Each returns true and stores the
// value when the host knows the variable. The name is passed as written, without the '%'.
typedef bool (*IntVariableCallback)(int* value, const char* name);
typedef bool (*FloatVariableCallback)(float* value, const char* name);
// value is a buffer of kStringVariableSize bytes; the host stores a zero-terminated string in it.
typedef bool (*StringVariableCallback)(char* value, const char* name);

// What a host that checks scripts hears of their problems; the game listens to none. file and
// line say where (the file that holds the statement, as the log names it), message is the text
// alone. shown: the game has shown the problem itself (every error, in the log; a tolerated
// mistake; an include it could not open, on its console); the others are warnings the game
// keeps to itself, because it accepts what they describe.
enum class ScriptProblem { kError, kWarning };
typedef void (*ScriptProblemListener)(ScriptProblem kind, bool shown, const char* file, int line,
                                      const char* message);

class CZKParse final {
 public:
  // Sizes that are part of the script language and its reports.
  static constexpr int kPathSize = FS_MAX_PATH + 1;              // dir and fileName, with the zero
  static constexpr int kNameSize = CZKPARSE_KEYWORD::kNameSize;  // a name, with the zero
  static constexpr int kStringVariableSize = 256;  // what StringVariableCallback may fill
  static constexpr int kReportBufferSize = 8192;   // one formatted report, with the zero

  // Loads the file through the package file reader. Never fails: a file that cannot be opened,
  // sized or read leaves the parser without text (a warning goes to the console), and a parser
  // without text finds nothing to read.
  explicit CZKParse(const char* name);
  // Always deleted through its own type (the class is final), so the destructor is not virtual.
  ~CZKParse() = default;

  // Owns its lexer (with the text) and its arena.
  CZKParse(const CZKParse&) = delete;
  CZKParse& operator=(const CZKParse&) = delete;

  // The one virtual operation. Writes the printf-formatted message to the log with the file name,
  // the line number and the source line around the lexer's position. It only reports; the caller
  // decides what the error means.
  //
  // The messages' texts are the game's own, spellings included ("left bracked expected", "its not
  // c!"): players' logs are read by people and tools that search for them, so they are kept.
  virtual void ReportError(const char* format, ...) VANTOR_PRINTF_FORMAT(2, 3);

  // Reads a name into a buffer of kNameSize bytes: the lexer's ReadWord, with a name too long
  // reported ("word limit exceeded") as the byte that found no room is read.
  int ReadName(char (&buffer)[kNameSize]);

  // Typed values: a literal, a variable reference or a constant's name. Each returns a new value
  // made in arena (never deleted on its own), or null with *error set: 1 after a report, -1 when a
  // name ran into the end of the text. *error holds 0 on entry. Blanks before the value are not
  // skipped.
  CZKPARSE_INT* ReadInt(int* error);
  CZKPARSE_FLOAT* ReadFloat(int* error);
  CZKPARSE_STRING* ReadString(int* error);

  // Statements. Every reader starts right after the byte that selected it, reports through
  // ReportError and sets *error (1, or what a value reader left) on the first fatal problem.

  // A keyword call: the new node (made in arena), or null with *error set. The keyword is
  // looked up through declarationIndex: a declaration taken off the chain must be dropped from the
  // index before it is deleted.
  CZKPARSE_KEYWORD* ReadCall(CZKPARSE_KEYWORD* declarations, int* error);
  // After '$': a constant definition, linked at the head of constants.
  void ReadConstDef(int* error);
  // After '!': a keyword declaration, linked at the head of *declarations, or one of the three
  // include directives, which leaves the included statements in *statements (null on entry).
  void ReadDirective(int* error, CZKPARSE_KEYWORD** statements, CZKPARSE_KEYWORD** declarations);
  // Parses the file name (relative to dir) with a child parser that borrows the constants, the
  // declarations in scope and their indexes; its statements go to *statements.
  void IncludeFile(const CZKPARSE_STRING* name, int* error, CZKPARSE_KEYWORD** statements,
                   CZKPARSE_KEYWORD** declarations);
  // The statement loop from pos to the end of the text, or to the '}' that closes the block when
  // inBlock. Returns the statements read, also after an error. Declarations made inside a block
  // are deleted when it ends; at the top level they stay in *declarations.
  CZKPARSE_KEYWORD* ReadStatements(CZKPARSE_KEYWORD** declarations, int* error, bool inBlock);
  // The whole text: the statement list (owned by the caller, possibly partial when *error is set).
  // Its head owns the arena, which this parser hands over with it, and with it the constants.
  CZKPARSE_KEYWORD* ParseText(int* error);

  // How deep a parse may nest. Each block and each include is one level of recursion of the
  // statement loop, so without a bound a script could overflow the stack; a file that includes
  // itself would do so for certain. Blocks count across includes: a block in an included file is
  // one level deeper than the block the include stands in.
  static constexpr int kMaxBlockDepth = 256;
  static constexpr int kMaxIncludeDepth = 32;

  char dir[kPathSize];          // fileName up to its last backslash, else its last '/'; or empty
  char fileName[kPathSize];     // the name as given, cut to FS_MAX_PATH characters
  Lexer lexer;                  // the whole file, the read position and the line
  CZKPARSE_KEYWORD* constants;  // most recent definition first; in arena
  IntVariableCallback intVariable;
  FloatVariableCallback floatVariable;
  StringVariableCallback stringVariable;
  int blockDepth;    // blocks open around pos, those of the including files included
  int includeDepth;  // 0 for the file the host named, one more for each include level
  // Beside the declarations chain and the constants list, so that finding a name costs the same
  // wherever it stands in them. An include lends both to its child parser with the lists.
  NameIndex declarationIndex;
  NameIndex constantIndex;
  // Everything the parse makes: nodes, values, names and strings, declarations and constants. An
  // include lends it to its child parser with the constants, so that one arena holds a whole
  // parse; ParseText hands it to the head of the statement list it returns.
  ParseArena arena;

  // Where ReportError formats: shared by all parser objects, and holding the last report's source
  // line until the next report.
  static char reportBuffer[kReportBufferSize];
  // Hears of every problem of every parse; null (the game's case) hears nothing.
  static ScriptProblemListener problemListener;

 private:
  void Load(const char* name);
  void SetNames(const char* name);
  void ReportNameTooLong();
  // ReportError's work, for an error or for a mistake the game tolerates.
  void Report(ScriptProblem kind, const char* format, std::va_list arguments);
  void ReportTolerated(const char* format, ...) VANTOR_PRINTF_FORMAT(2, 3);
  // Tells the listener alone (when there is one) of a problem at atLine.
  void Tell(ScriptProblem kind, bool shown, std::int32_t atLine, const char* format, ...)
      VANTOR_PRINTF_FORMAT(5, 6);

  // The three forms every value reader accepts besides its literal.
  const CZKPARSE_PARAM* FindConstant(int* error, std::int32_t type, const char* typeMismatch);
  bool ReadVariableName(char (&name)[kNameSize], bool haveCallback, int* error);
  CZKPARSE_INT* ReadIntVariable(int* error);
  CZKPARSE_FLOAT* ReadFloatVariable(int* error);
  CZKPARSE_STRING* ReadStringVariable(int* error);
  CZKPARSE_STRING* ReadQuotedString(int* error);
  // New values in arena; the name is copied there (null stays null).
  CZKPARSE_INT* NewInt(std::int32_t value, const char* name);
  CZKPARSE_FLOAT* NewFloat(float value, const char* name);
  CZKPARSE_STRING* NewString(char* arenaValue, const char* name);
  // Whether a literal's digits were found and end where a value may end; if not, reports it (the
  // type names the literal) and sets *error.
  bool DigitsEndAValue(bool any, int next, const char* type, int* error);
  // The digits after an optional minus sign, which the caller has consumed.
  CZKPARSE_INT* ReadIntLiteral(bool negative, int* error);
  CZKPARSE_FLOAT* ReadFloatLiteral(bool negative, int* error);

  // The three include directives, after the byte that follows their name.
  void ReadInclude(int byte, int* error, CZKPARSE_KEYWORD** statements,
                   CZKPARSE_KEYWORD** declarations);
  void ReadConditionalInclude(bool floats, int byte, int* error, CZKPARSE_KEYWORD** statements,
                              CZKPARSE_KEYWORD** declarations);
  // The parameter list of a keyword declaration, after its name; byte is the one read after it.
  void ReadTypeDef(CZKPARSE_KEYWORD* node, int byte, int* error, CZKPARSE_KEYWORD** declarations);
};

// Inline: every statement reads a name or more.
inline int CZKParse::ReadName(char (&buffer)[kNameSize]) {
  const int result = lexer.ReadWord(buffer, kNameSize);
  if (result == 1) ReportNameTooLong();
  return result;
}

// The parser's entry point: parses the file and returns its statement list, which the caller owns
// and deletes through the head, or null when the file could not be read or parsed or holds no
// calls. Null callbacks are allowed: a variable reference of that type is then an error.
CZKPARSE_KEYWORD* ParseScriptFile(const char* fileName, IntVariableCallback intVariable,
                                  FloatVariableCallback floatVariable,
                                  StringVariableCallback stringVariable);

// How a parse ended, for hosts that must tell the three null results apart (the script checker).
enum class ParseOutcome { kParsed, kFailed, kUnreadable };

// The same parse, with its outcome stored through outcome (which may be null): kUnreadable when
// the file could not be loaded, kFailed after a reported error, kParsed otherwise, also when the
// file holds no calls.
CZKPARSE_KEYWORD* ParseScriptFile(const char* fileName, IntVariableCallback intVariable,
                                  FloatVariableCallback floatVariable,
                                  StringVariableCallback stringVariable, ParseOutcome* outcome);
