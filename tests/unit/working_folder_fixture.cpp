#include "working_folder_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include "filesystem_api.h"

namespace stdfs = std::filesystem;

void WorkingFolderTest::SetUp() {
  std::random_device random;
  folder_ = stdfs::temp_directory_path() /
            ("vantor-test-" + std::to_string(random()) + "-" + std::to_string(random()));
  previousFolder_ = stdfs::current_path();
  ASSERT_TRUE(stdfs::create_directory(folder_));
  stdfs::current_path(folder_);
  ASSERT_EQ(FS_init(), 1);
}

void WorkingFolderTest::TearDown() {
  // Shut down first: Windows cannot remove the files the library still holds open.
  FS_shutdown();
  stdfs::current_path(previousFolder_);
  std::error_code ignored;
  stdfs::remove_all(folder_, ignored);
}

void WorkingFolderTest::WriteFile(const stdfs::path& path, const std::string& bytes) {
  if (path.has_parent_path()) stdfs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  file << bytes;
  ASSERT_TRUE(file.good()) << path;
}

std::string WorkingFolderTest::ReadFile(const stdfs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}
