// The file-system library's tests: a working folder of their own (working_folder_fixture.h), and
// packages built in it with the pak tool's code.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "working_folder_fixture.h"

using NamedBytes = std::vector<std::pair<std::string, std::string>>;

class FilesystemTest : public WorkingFolderTest {
 protected:
  // Builds package from files given by name and contents, with the pak tool's code.
  static void MakePackage(const std::string& package, const NamedBytes& files);

  // Reads a whole file through the library the way the program does: open, length, one read of
  // the full length, close. Nothing when the file cannot be opened.
  static std::optional<std::string> FsReadAll(const char* name);
};
