#include "game_folder.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

std::string StagedGameFolder() {
  const char* folder = std::getenv("VANTOR_GAME_DIR");
  if (!folder || !*folder) throw std::runtime_error("VANTOR_GAME_DIR is not set");
  return ToWindowsPath(folder);
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

GameFolder::GameFolder() {
  static std::atomic<unsigned> counter{0};
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + "vantor-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(counter++);
  stdfs::remove_all(path_);
  stdfs::copy(StagedGameFolder(), path_, stdfs::copy_options::recursive);
  MarkDiagnosticsReportDone();
}

namespace {

void RemoveContents(const std::string& folder) {
  std::error_code ignored;
  for (const auto& entry : stdfs::directory_iterator(folder, ignored)) {
    stdfs::remove_all(entry.path(), ignored);
  }
}

}  // namespace

GameFolder::GameFolder(const std::string& existingFolder)
    : path_(existingFolder), ownsFolder_(false) {
  RemoveContents(path_);
  stdfs::copy(StagedGameFolder(), path_, stdfs::copy_options::recursive);
  MarkDiagnosticsReportDone();
}

void GameFolder::UseMsvcEngine() const {
  stdfs::copy_file(ProgramFolder() + "\\msvc\\VantorEngine2.dll", File("VantorEngine2.dll"),
                   stdfs::copy_options::overwrite_existing);
}

void GameFolder::MarkDiagnosticsReportDone() {
  WriteFileText(File("logs\\DXdiags.txt"), "made by the test harness\n");
}

GameFolder::~GameFolder() {
  std::error_code ignored;
  if (ownsFolder_) {
    stdfs::remove_all(path_, ignored);
  } else {
    RemoveContents(path_);
  }
}

}  // namespace harness
