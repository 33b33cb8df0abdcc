// zkparse: the script checker for script authors. It mounts the game's sources as the launcher
// does, relative to the current folder, and parses one script with the parser's entry point, so
// that run in a game folder it sees exactly what the game sees. Reports go through the log module
// as in the game (crash.log holds the same bytes) and are echoed to standard output.
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "data_sources.h"
#include "filesystem_api.h"
#include "log.h"
#include "statement_text.h"
#include "zk_parse.h"

namespace {

enum ExitCode { kParsed = 0, kParseError = 1, kUnreadable = 2, kUsage = 64 };

const char kUsageText[] =
    "usage: zkparse [--int NAME=VALUE]... [--float NAME=VALUE]... [--string NAME=VALUE]...\n"
    "               [--binary OUT] [--tree] [--format=gcc] [--werror] FILE\n"
    "\n"
    "Parses the configuration script FILE as the game reads it: data0.pak to data63.pak, the\n"
    "current folder and its data folder are mounted, and FILE is a name in them.\n"
    "\n"
    "  --int, --float, --string NAME=VALUE  answer the variable reference %NAME of that type\n"
    "                                       (types without such an option have no variables)\n"
    "  --binary OUT  write the statement list's binary form to OUT ('-': standard output)\n"
    "  --tree        print the statement list as indented text\n"
    "  --format=gcc  print each error and warning as one line, FILE:LINE: error: MESSAGE or\n"
    "                FILE:LINE: warning: MESSAGE, for editors and CI annotations (the log\n"
    "                still gets its reports)\n"
    "  --werror      fail the check (exit status 1) when there is a warning\n"
    "\n"
    "Reports are written to the log (crash.log) and to standard output; with --binary - they go\n"
    "to the log only. Warnings for what the game accepts but an author hardly means (a block\n"
    "comment or block still open at the end of a file, a number literal out of range) are the\n"
    "checker's own: they go to standard output alone, as WARNING [zkparse] MESSAGE: in file\n"
    "'FILE' in line N. Exit status: 0 parsed, 1 parse error (or a warning with --werror), 2 FILE\n"
    "could not be read (or OUT could not be written), 64 wrong usage.\n";

std::map<std::string, int> intVariables;
std::map<std::string, float> floatVariables;
std::map<std::string, std::string> stringVariables;

bool IntVariable(int* value, const char* name) {
  const auto found = intVariables.find(name);
  if (found == intVariables.end()) return false;
  *value = found->second;
  return true;
}

bool FloatVariable(float* value, const char* name) {
  const auto found = floatVariables.find(name);
  if (found == floatVariables.end()) return false;
  *value = found->second;
  return true;
}

bool StringVariable(char* value, const char* name) {
  const auto found = stringVariables.find(name);
  if (found == stringVariables.end()) return false;
  // The option reader has made sure that the value fits the parser's buffer.
  std::memcpy(value, found->second.c_str(), found->second.size() + 1);
  return true;
}

struct Options {
  const char* file = nullptr;
  const char* binary = nullptr;
  bool tree = false;
  bool gccFormat = false;
  bool warningsFail = false;

  // Binary output on standard output must not be mixed with text.
  bool BinaryToStandardOutput() const { return binary != nullptr && std::strcmp(binary, "-") == 0; }
};

Options options;

// --- What the parser tells ---------------------------------------------------------------------

int warnings = 0;

// Without --format=gcc the log's own echo has shown the errors and what the game shows itself,
// so only the checker's own warnings are printed; with it, every problem is one line. Counted
// also when nothing may be printed, for --werror.
void PrintProblem(ScriptProblem kind, bool shown, const char* file, int line, const char* message) {
  if (kind == ScriptProblem::kWarning) ++warnings;
  if (options.BinaryToStandardOutput()) return;
  if (!options.gccFormat) {
    if (!shown) std::printf("WARNING [zkparse] %s: in file '%s' in line %d\n", message, file, line);
    // In order with the log's echo, which does not go through stdio's buffer.
    std::fflush(stdout);
    return;
  }
  // Some of the game's messages end in a line feed of their own; one line each here.
  std::string text = message;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  for (char& byte : text) {
    if (byte == '\n' || byte == '\r') byte = ' ';
  }
  std::printf("%s:%d: %s: %s\n", file, line, kind == ScriptProblem::kError ? "error" : "warning",
              text.c_str());
}

int Usage(const char* problem) {
  std::fprintf(stderr, "zkparse: %s\n%s", problem, kUsageText);
  return kUsage;
}

// Splits NAME=VALUE; false when there is no '=' or no name.
bool SplitDefinition(const char* text, std::string& name, std::string& value) {
  const char* equals = std::strchr(text, '=');
  if (equals == nullptr || equals == text) return false;
  name.assign(text, equals);
  value = equals + 1;
  return true;
}

bool ParseIntValue(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || number < INT32_MIN || number > INT32_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

bool ParseFloatValue(const std::string& text, float& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtof(text.c_str(), &end);
  return *end == '\0';
}

// Returns 0 when the command line was understood, else the exit code (after the usage text).
int ReadOptions(int argc, char** argv, Options& options) {
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsageText, stdout);
      std::exit(kParsed);
    }
    if (argument == "--tree") {
      options.tree = true;
      continue;
    }
    if (argument == "--format=gcc") {
      options.gccFormat = true;
      continue;
    }
    if (argument == "--werror") {
      options.warningsFail = true;
      continue;
    }
    if (argument == "--int" || argument == "--float" || argument == "--string" ||
        argument == "--binary") {
      if (index + 1 == argc) return Usage((argument + " needs a value").c_str());
      const char* value = argv[++index];
      if (argument == "--binary") {
        options.binary = value;
        continue;
      }
      std::string name, text;
      if (!SplitDefinition(value, name, text)) {
        return Usage((argument + " takes NAME=VALUE, not '" + value + "'").c_str());
      }
      // The later definition of a name wins, as in a script.
      if (argument == "--int") {
        int number = 0;
        if (!ParseIntValue(text, number)) {
          return Usage(("not a 32-bit integer: '" + text + "'").c_str());
        }
        intVariables[name] = number;
      } else if (argument == "--float") {
        float number = 0;
        if (!ParseFloatValue(text, number)) return Usage(("not a number: '" + text + "'").c_str());
        floatVariables[name] = number;
      } else {
        if (text.size() >= static_cast<std::size_t>(CZKParse::kStringVariableSize)) {
          return Usage("a --string value is at most 255 characters long");
        }
        stringVariables[name] = text;
      }
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      return Usage(("unknown option '" + argument + "'").c_str());
    }
    if (options.file != nullptr) return Usage("only one FILE can be checked at a time");
    options.file = argv[index];
  }
  if (options.file == nullptr) return Usage("no FILE given");
  return 0;
}

// --- --binary --------------------------------------------------------------------------------

bool WriteBinaryFile(const char* name, CZKPARSE_KEYWORD* list) {
  if (std::strcmp(name, "-") == 0) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // no CR before every LF byte of the binary form
#endif
    list->WriteBinary(stdout);
    return std::fflush(stdout) == 0;
  }
  std::FILE* out = std::fopen(name, "wb");
  if (out == nullptr) return false;
  list->WriteBinary(out);
  const bool written = std::ferror(out) == 0;
  return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int code = ReadOptions(argc, argv, options)) return code;

  MountDataSources();
  // Opened now rather than at the first report, so that the console echo is on from the start
  // and the file-system warnings reach standard output too; not when that output is the binary
  // form, nor in the editors' format, where the listener prints every problem.
  LogOpen(!options.BinaryToStandardOutput() && !options.gccFormat);
  CZKParse::problemListener = PrintProblem;

  ParseOutcome outcome = ParseOutcome::kFailed;
  CZKPARSE_KEYWORD* list =
      ParseScriptFile(options.file, intVariables.empty() ? nullptr : IntVariable,
                      floatVariables.empty() ? nullptr : FloatVariable,
                      stringVariables.empty() ? nullptr : StringVariable, &outcome);

  int code = outcome == ParseOutcome::kParsed   ? kParsed
             : outcome == ParseOutcome::kFailed ? kParseError
                                                : kUnreadable;
  if (code == kUnreadable && options.gccFormat) {
    std::printf("%s:1: error: cannot open '%s'\n", options.file, options.file);
  }
  if (code == kParsed && warnings > 0 && options.warningsFail) code = kParseError;
  if (list != nullptr) {
    if (options.tree) {
      std::fputs(StatementText(list, StatementLayout::kLines).c_str(), stdout);
      std::fflush(stdout);
    }
    if (options.binary != nullptr && !WriteBinaryFile(options.binary, list)) {
      std::fprintf(stderr, "zkparse: cannot write '%s'\n", options.binary);
      code = kUnreadable;
    }
    delete list;
  }
  FS_shutdown();
  return code;
}
