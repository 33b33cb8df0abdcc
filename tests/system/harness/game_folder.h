// A private copy of the staged game folder for one test case, and small file helpers. Paths given
// to and returned by these helpers are Windows paths as the programs under test see them.
#pragma once

#include <string>
#include <vector>

namespace harness {

// Turns a Linux path (as ctest hands it over in the environment) into the Windows path under Wine's
// Z: drive; Windows paths come back unchanged.
std::string ToWindowsPath(const std::string& path);

// The folder where the build laid out the runnable game (VANTOR_GAME_DIR).
std::string StagedGameFolder();

// The folder that holds the test programs themselves (and the probe beside them).
std::string ProgramFolder();

std::string ReadFileText(const std::string& path);  // empty when missing
std::vector<std::string> ReadLines(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

class GameFolder {
 public:
  // Copies the staged game into a new folder under the temporary folder.
  GameFolder();
  // Copies the staged game into an existing folder (a drive's root, say), emptied first; only its
  // contents are removed afterwards.
  explicit GameFolder(const std::string& existingFolder);
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& relative) const {
    return path_.back() == '\\' ? path_ + relative : path_ + "\\" + relative;
  }
  std::string Launcher() const { return File("Vantor.exe"); }
  // Puts the engine built in Microsoft's ABI (libs/msvc_engine), which the build places in the
  // folder msvc beside the test programs, in place of ours.
  void UseMsvcEngine() const;

 private:
  void MarkDiagnosticsReportDone();

  std::string path_;
  bool ownsFolder_ = true;
};

}  // namespace harness
