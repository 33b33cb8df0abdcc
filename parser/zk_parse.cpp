// The parser object's life: loading its file, its names, and the entry points through which a
// host parses a file.
#include "zk_parse.h"

#include <cstring>
#include <memory>

#include "file.h"
#include "log.h"

CZKParse::CZKParse(const char* name)
    : dir{},
      fileName{},
      constants(nullptr),
      intVariable(nullptr),
      floatVariable(nullptr),
      stringVariable(nullptr),
      blockDepth(0),
      includeDepth(0),
      declarationIndex(NameIndex::kExactCase),
      constantIndex(NameIndex::kIgnoreCase) {
  if (name == nullptr) name = "";
  Load(name);
  SetNames(name);
}

void CZKParse::Load(const char* name) {
  try {
    fs::file file;
    file.open(name, 0);
    const int size = file.length();
    const std::uint32_t bytes = static_cast<std::uint32_t>(size);
    std::unique_ptr<char[]> loaded(new char[bytes]);
    // One read of the whole file; a short count only leaves the end of the buffer unread, and
    // that tail is zeroed so that it holds no leftover bytes.
    const int got = file.read(loaded.get(), size);
    std::memset(loaded.get() + got, 0, static_cast<std::size_t>(size - got));
    file.close();
    lexer.Take(loaded.release(), bytes);
  } catch (const fs::file_exception&) {
    // Which operation failed does not matter here: the parser simply has no text. The reader has
    // closed the file on its way out.
    ConsolePrint("WARNING [CZKParse] cannot open %s\n", name);
  }
}

void CZKParse::SetNames(const char* name) {
  // Cut to 259 characters, as the file-system library's names are.
  std::strncpy(fileName, name, kPathSize - 1);
  fileName[kPathSize - 1] = '\0';
  std::memcpy(dir, fileName, kPathSize);
  // An include resolves its names against this folder. The last backslash decides, even when a
  // forward slash follows it; only a name without any backslash falls back to the last slash.
  char* cut = std::strrchr(dir, '\\');
  if (cut == nullptr) cut = std::strrchr(dir, '/');
  if (cut == nullptr) {
    dir[0] = '\0';
  } else {
    cut[1] = '\0';
  }
}

void CZKParse::ReportNameTooLong() {
  // The byte that found no room has been read when the limit is reported, and is given back
  // after it.
  lexer.ReadChar();
  ReportError("word limit exceeded");
  lexer.UnreadChar();
}

// --- The entry points ------------------------------------------------------------------------

CZKPARSE_KEYWORD* ParseScriptFile(const char* fileName, IntVariableCallback intVariable,
                                  FloatVariableCallback floatVariable,
                                  StringVariableCallback stringVariable) {
  return ParseScriptFile(fileName, intVariable, floatVariable, stringVariable, nullptr);
}

CZKPARSE_KEYWORD* ParseScriptFile(const char* fileName, IntVariableCallback intVariable,
                                  FloatVariableCallback floatVariable,
                                  StringVariableCallback stringVariable, ParseOutcome* outcome) {
  ParseOutcome ignored;
  if (outcome == nullptr) outcome = &ignored;
  if (fileName == nullptr) fileName = "";
  std::unique_ptr<CZKParse> parser(new CZKParse(fileName));
  parser->intVariable = intVariable;
  parser->floatVariable = floatVariable;
  parser->stringVariable = stringVariable;
  int error = 0;
  std::unique_ptr<CZKPARSE_KEYWORD> list(parser->ParseText(&error));
  if (error != 0) {
    // The problem itself has been reported where it was found.
    LogPrint("Parser: cant parse file '%s'\n", fileName);
    *outcome = ParseOutcome::kFailed;
    return nullptr;
  }
  *outcome = parser->lexer.text != nullptr ? ParseOutcome::kParsed : ParseOutcome::kUnreadable;
  if (list != nullptr && parser->lexer.text != nullptr) return list.release();
  return nullptr;
}
