#include "filesystem_fixture.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "filesystem_api.h"
#include "pak_command.h"

namespace fs = std::filesystem;

void FilesystemTest::SetUp() {
  std::random_device random;
  std::ostringstream name;
  name << "vantor-fs-test-" << std::hex << random() << random();
  folder_ = fs::temp_directory_path() / name.str();
  ASSERT_TRUE(fs::create_directory(folder_));
  previous_folder_ = fs::current_path();
  fs::current_path(folder_);
  ASSERT_EQ(FS_init(), 1);
}

void FilesystemTest::TearDown() {
  // Shut down first: Windows cannot remove the packages the library still holds open.
  FS_shutdown();
  fs::current_path(previous_folder_);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

void FilesystemTest::WriteFile(const fs::path& path, const std::string& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  file << bytes;
  ASSERT_TRUE(file.good()) << path;
}

std::string FilesystemTest::ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void FilesystemTest::MakePackage(const std::string& package, const NamedBytes& files) {
  const fs::path staging = fs::path("staging") / package;
  fs::create_directories(staging);
  for (const auto& [name, bytes] : files) WriteFile(staging / name, bytes);
  const std::string folder = staging.string();
  const char* argv[] = {"pak", package.c_str(), folder.c_str()};
  std::ostringstream errors;
  ASSERT_EQ(vantor::pak::RunPak(3, argv, errors), vantor::pak::kExitSuccess) << errors.str();
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
