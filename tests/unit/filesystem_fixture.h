// The file-system library's tests: a working folder of their own (working_folder_fixture.h), and
// packages built in it with the pak tool's code.
#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "filesystem_api.h"
#include "pak_command.h"
#include "working_folder_fixture.h"

using NamedBytes = std::vector<std::pair<std::string, std::string>>;

class FilesystemTest : public WorkingFolderTest {
 protected:
  // Runs the pak tool's code with these arguments; returns its exit code and what it printed.
  static int RunPak(std::vector<const char*> arguments, std::string* errors) {
    arguments.insert(arguments.begin(), "pak");
    std::ostringstream stream;
    const int result = pak::RunPak(static_cast<int>(arguments.size()), arguments.data(), stream);
    *errors = stream.str();
    return result;
  }

  // Builds package from files given by name and contents, staged in a folder of that name.
  static void MakePackage(const std::string& package, const NamedBytes& files) {
    const std::string folder = "staging/" + package;
    for (const auto& [name, bytes] : files) WriteFile(folder + "/" + name, bytes);
    std::string errors;
    ASSERT_EQ(RunPak({package.c_str(), folder.c_str()}, &errors), pak::kExitSuccess) << errors;
  }

  // Reads a whole file through the library the way the program does: open, length, one read of
  // the full length, close. Nothing when the file cannot be opened.
  static std::optional<std::string> FsReadAll(const char* name) {
    FS_HANDLE file = FS_open(name, 0);
    if (!file) return std::nullopt;
    const long length = FS_length(file);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    EXPECT_EQ(FS_read(file, bytes.data(), length), length) << name;
    EXPECT_EQ(FS_close(file), 0) << name;
    return bytes;
  }
};
