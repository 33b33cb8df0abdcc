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
  std::string name;
  std::vector<std::string> lines;
  bool crlf = false;
};

struct ScriptCase {
  std::string title;
  int line = 0;  // of its "===" in the case file
  std::vector<ScriptFile> files;
  std::vector<std::string> variables, output;
};

std::string Joined(const std::vector<std::string>& lines, const char* end) {
  std::string text;
  for (std::size_t n = 0; n < lines.size(); ++n) text += (n == 0 ? "" : end) + lines[n];
  return text;
}

std::vector<ScriptCase> ReadCases(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<ScriptCase> cases;
  std::vector<std::string>* section = nullptr;  // where the next line goes
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("#", 0) == 0) continue;
    if (line.rfind("=== ", 0) == 0) {
      cases.push_back({line.substr(4), number, {{"script.txt", {}}}, {}, {}});
      section = &cases.back().files[0].lines;
    } else if (cases.empty()) {
      continue;
    } else if (line.rfind("--- ", 0) != 0) {
      section->push_back(line);
    } else {
      ScriptCase& c = cases.back();
      std::istringstream header(line.substr(4));
      std::string name, flag;
      header >> name >> flag;
      if (name == "output") {
        section = &c.output;
      } else if (name == "variables") {
        section = &c.variables;
      } else {
        // Right after the "===" line the case names its own first file.
        if (c.files.size() == 1 && c.files[0].lines.empty()) c.files.clear();
        c.files.push_back({name, {}, flag == "crlf"});
        section = &c.files.back().lines;
      }
    }
  }
  return cases;
}

// The variables of the case that runs, as the checker's --int, --float and --string give them.
std::map<std::string, std::string> variables[3];

template <int kType>
bool Variable(const char* name, std::string* value) {
  const auto found = variables[kType].find(name);
  if (found == variables[kType].end()) return false;
  *value = found->second;
  return true;
}
bool IntVariable(int* value, const char* name) {
  std::string text;
  return Variable<0>(name, &text) && (*value = std::stoi(text), true);
}
bool FloatVariable(float* value, const char* name) {
  std::string text;
  return Variable<1>(name, &text) && (*value = std::stof(text), true);
}
bool StringVariable(char* value, const char* name) {
  std::string text;
  if (!Variable<2>(name, &text) || text.size() >= sizeof(char[CZKParse::kStringVariableSize]))
    return false;
  std::memcpy(value, text.c_str(), text.size() + 1);
  return true;
}

// What the checker prints for the case's first file: the reports, then the statement list.
std::string CheckerOutput(const ScriptCase& c) {
  for (auto& type : variables) type.clear();
  for (const std::string& line : c.variables) {
    std::istringstream words(line);
    std::string type, name, value;
    words >> type >> name >> value;
    variables[type == "int" ? 0 : type == "float" ? 1 : 2][name] = value;
  }
  for (const ScriptFile& file : c.files) {
    ParserTest::WriteFile(file.name, Joined(file.lines, file.crlf ? "\r\n" : "\n"));
  }
  CZKPARSE_KEYWORD* list =
      ParseScriptFile(c.files[0].name.c_str(), variables[0].empty() ? nullptr : IntVariable,
                      variables[1].empty() ? nullptr : FloatVariable,
                      variables[2].empty() ? nullptr : StringVariable);
  std::string output = ParserTest::LogText() + StatementText(list, StatementLayout::kLines);
  delete list;
  for (std::size_t at; (at = output.find("\r\n")) != std::string::npos;) output.erase(at, 1);
  while (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
}

class ScriptCases : public ParserTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ScriptCases, PrintWhatTheCheckerPrints) {
  const stdfs::path path = stdfs::path(VANTOR_SCRIPT_CASES) / GetParam();
  const std::vector<ScriptCase> cases = ReadCases(path);
  ASSERT_FALSE(cases.empty()) << "no case in " << path;
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(GetParam() + ":" + std::to_string(c.line) + ": " + c.title);
    std::string expected = Joined(c.output, "\n");
    while (!expected.empty() && expected.back() == '\n') expected.pop_back();
    EXPECT_EQ(CheckerOutput(c), expected);
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
