// The parser's grammar and messages as a script author meets them: each file in script_cases/ is a
// list of scripts with what the script checker would print for them. A case is
//
//   === what the case shows
//   lines of script.txt, the file that is parsed
//   --- NAME [crlf]     a further file (with CR LF line ends); when it comes right after the
//                       "===" line, it is the one parsed instead of script.txt
//   --- variables       lines "int|float|string NAME VALUE"; a type without one has no callback
//   --- output
//   the reports the log echoes (line ends as LF), then the statement list as --tree prints it
//
// Files hold their lines without a line end after the last one. Lines starting with "#" are
// comments. Each case runs in an empty working folder with a fresh log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "log_testing.h"
#include "parser_fixture.h"
#include "statement_text.h"

namespace {

namespace stdfs = std::filesystem;

struct ScriptFile {
  std::string name, text;
  const char* lineEnd;
};

struct ScriptCase {
  std::string title;
  int line;  // of its "===" in the case file
  std::vector<ScriptFile> files;
  std::map<std::string, std::string> variables[3];  // int, float, string
  std::string output;
};

// Appends a line to text, with a line end before it unless it is the first.
void AddLine(std::string& text, bool first, const std::string& line, const char* lineEnd) {
  text += (first ? "" : lineEnd) + line;
}

std::vector<ScriptCase> ReadCases(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<ScriptCase> cases;
  enum { kFile, kVariables, kOutput } section = kFile;
  bool first = true;  // the next line is its section's first
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind('#', 0) == 0 || (cases.empty() && line.rfind("=== ", 0) != 0)) continue;
    std::istringstream words(line);
    std::string mark, name, flag;
    words >> mark >> name >> flag;
    if (mark == "===") {
      cases.push_back({line.substr(4), number, {{"script.txt", "", "\n"}}, {}, ""});
      section = kFile;
      first = true;
      continue;
    }
    ScriptCase& c = cases.back();
    if (mark == "---") {
      section = name == "output" ? kOutput : name == "variables" ? kVariables : kFile;
      first = true;
      if (section != kFile) continue;
      // Right after the "===" line the case names its own first file.
      if (c.files.size() == 1 && c.files[0].text.empty()) c.files.clear();
      c.files.push_back({name, "", flag == "crlf" ? "\r\n" : "\n"});
    } else if (section == kVariables) {
      c.variables[mark == "int" ? 0 : mark == "float" ? 1 : 2][name] = flag;
    } else if (section == kOutput) {
      AddLine(c.output, first, line, "\n");
      first = false;
    } else {
      AddLine(c.files.back().text, first, line, c.files.back().lineEnd);
      first = false;
    }
  }
  return cases;
}

// The variables of the case that runs, as the checker's --int, --float and --string give them.
const ScriptCase* running = nullptr;

const char* Variable(int type, const char* name) {
  const auto found = running->variables[type].find(name);
  return found == running->variables[type].end() ? nullptr : found->second.c_str();
}
bool IntVariable(int* value, const char* name) {
  const char* text = Variable(0, name);
  return text != nullptr && (*value = std::atoi(text), true);
}
bool FloatVariable(float* value, const char* name) {
  const char* text = Variable(1, name);
  return text != nullptr && (*value = std::strtof(text, nullptr), true);
}
bool StringVariable(char* value, const char* name) {
  const char* text = Variable(2, name);
  if (text == nullptr || std::strlen(text) >= sizeof(char[CZKParse::kStringVariableSize])) {
    return false;
  }
  std::strcpy(value, text);
  return true;
}

std::string WithoutTrailingLineEnds(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// What the checker prints for the case's first file: the reports, then the statement list.
std::string CheckerOutput(const ScriptCase& c) {
  for (const ScriptFile& file : c.files) ParserTest::WriteFile(file.name, file.text);
  running = &c;
  CZKPARSE_KEYWORD* list =
      ParseScriptFile(c.files[0].name.c_str(), c.variables[0].empty() ? nullptr : IntVariable,
                      c.variables[1].empty() ? nullptr : FloatVariable,
                      c.variables[2].empty() ? nullptr : StringVariable);
  const std::string output = ParserTest::LogText() + StatementText(list, StatementLayout::kLines);
  delete list;
  return WithoutTrailingLineEnds(output);
}

class ScriptCases : public ParserTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ScriptCases, PrintWhatTheCheckerPrints) {
  const stdfs::path path = stdfs::path(VANTOR_SCRIPT_CASES) / GetParam();
  const std::vector<ScriptCase> cases = ReadCases(path);
  ASSERT_FALSE(cases.empty()) << "no case in " << path;
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(GetParam() + ":" + std::to_string(c.line) + ": " + c.title);
    EXPECT_EQ(CheckerOutput(c), WithoutTrailingLineEnds(c.output));
    // The next case starts in an empty folder with a fresh log.
    RestartLog();
    for (const auto& entry : stdfs::directory_iterator(".")) stdfs::remove_all(entry.path());
  }
}

std::vector<std::string> CaseFiles() {
  std::vector<std::string> names;
  std::error_code error;  // a missing folder leaves the suite without cases, which fails it
  for (const auto& entry : stdfs::directory_iterator(VANTOR_SCRIPT_CASES, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Each, ScriptCases, ::testing::ValuesIn(CaseFiles()), [](const auto& info) {
  return info.param.substr(0, info.param.find('.'));
});

}  // namespace
