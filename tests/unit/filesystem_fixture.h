// Every test runs in a folder of its own, made the working folder because the library's sources
// are relative to it, with the library started. Afterwards the library is shut down, the working
// folder restored and the folder removed.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using NamedBytes = std::vector<std::pair<std::string, std::string>>;

class FilesystemTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes bytes to a file below the working folder, creating its folders.
  static void WriteFile(const std::filesystem::path& path, const std::string& bytes);
  static std::string ReadFile(const std::filesystem::path& path);

  // Builds package from files given by name and contents, with the pak tool's code.
  static void MakePackage(const std::string& package, const NamedBytes& files);

  // Reads a whole file through the library the way the program does: open, length, one read of
  // the full length, close. Nothing when the file cannot be opened.
  static std::optional<std::string> FsReadAll(const char* name);

 private:
  std::filesystem::path previous_folder_;
  std::filesystem::path folder_;
};
