#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "game_run.h"

namespace harness {

namespace stdfs = std::filesystem;

std::string ToWindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of("\\/"));
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileText(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void WriteFileText(const std::string& path, const std::string& text) {
  stdfs::create_directories(stdfs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) {
  return stdfs::exists(path);
}

namespace {

void CopyStagedGame(const GameFolder& folder) {
  const char* staged = std::getenv("VANTOR_GAME_DIR");
  if (!staged || !*staged) throw std::runtime_error("VANTOR_GAME_DIR is not set");
  stdfs::copy(ToWindowsPath(staged), folder.Path(), stdfs::copy_options::recursive);
  WriteFileText(folder.File("logs\\DXdiags.txt"), "made by the test harness\n");
}

void RemoveContents(const std::string& folder) {
  std::error_code ignored;
  for (const auto& entry : stdfs::directory_iterator(folder, ignored)) {
    stdfs::remove_all(entry.path(), ignored);
  }
}

}  // namespace

GameFolder::GameFolder() {
  static std::atomic<unsigned> counter{0};
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + "vantor-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(counter++);
  stdfs::remove_all(path_);
  CopyStagedGame(*this);
}

GameFolder::GameFolder(const std::string& existingFolder)
    : path_(existingFolder), ownsFolder_(false) {
  RemoveContents(path_);
  CopyStagedGame(*this);
}

GameFolder::~GameFolder() {
  std::error_code ignored;
  if (ownsFolder_) {
    stdfs::remove_all(path_, ignored);
  } else {
    RemoveContents(path_);
  }
}

void GameFolder::UseMsvcEngine() const {
  stdfs::copy_file(ProgramFolder() + "\\msvc\\VantorEngine2.dll", File("VantorEngine2.dll"),
                   stdfs::copy_options::overwrite_existing);
}

RunOptions GameOptions(const GameFolder& folder, const std::string& arguments, RunOptions options) {
  options.program = folder.File("Vantor.exe");
  options.arguments = arguments;
  if (options.workingFolder.empty()) options.workingFolder = folder.Path();
  options.environment.push_back("VANTOR_TRACE=" + folder.File("trace.txt"));
  return options;
}

GameRun RunGame(const GameFolder& folder, const std::string& arguments, RunOptions options) {
  GameRun run;
  run.result = RunProgram(GameOptions(folder, arguments, std::move(options)));
  run.trace = ReadLines(folder.File("trace.txt"));
  return run;
}

bool Traced(const std::vector<std::string>& trace, const std::string& start) {
  return std::any_of(trace.begin(), trace.end(),
                     [&start](const std::string& line) { return line.rfind(start, 0) == 0; });
}

bool FaultCodesEmulated() {
  const char* emulated = std::getenv("VANTOR_EMULATED_I386");
  return emulated != nullptr && std::strcmp(emulated, "1") == 0;
}

}  // namespace harness
