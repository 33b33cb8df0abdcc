#include "filesystem_fixture.h"

#include <sstream>

#include "filesystem_api.h"
#include "pak_command.h"

namespace stdfs = std::filesystem;

void FilesystemTest::MakePackage(const std::string& package, const NamedBytes& files) {
  const stdfs::path staging = stdfs::path("staging") / package;
  stdfs::create_directories(staging);
  for (const auto& [name, bytes] : files) WriteFile(staging / name, bytes);
  const std::string folder = staging.string();
  const char* argv[] = {"pak", package.c_str(), folder.c_str()};
  std::ostringstream errors;
  ASSERT_EQ(pak::RunPak(3, argv, errors), pak::kExitSuccess) << errors.str();
}

std::optional<std::string> FilesystemTest::FsReadAll(const char* name) {
  FS_HANDLE file = FS_open(name, 0);
  if (!file) return std::nullopt;
  const long length = FS_length(file);
  std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  const long read = FS_read(file, bytes.data(), length);
  EXPECT_EQ(read, length) << name;
  EXPECT_EQ(FS_close(file), 0) << name;
  return bytes;
}
