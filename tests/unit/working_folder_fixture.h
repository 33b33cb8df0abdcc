// Tests that work with files the way the program does: each runs in a temporary folder of its own,
// made the working folder (the log file and the file-system library's sources are relative to
// it), with the file-system library started. Afterwards the library is shut down, the working
// folder restored and the folder removed.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class WorkingFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 public:
  // Writes bytes to a file below the working folder, creating its folders.
  static void WriteFile(const std::filesystem::path& path, const std::string& bytes);
  // The file's bytes; empty when it cannot be read.
  static std::string ReadFile(const std::filesystem::path& path);

 private:
  std::filesystem::path previousFolder_;
  std::filesystem::path folder_;
};
