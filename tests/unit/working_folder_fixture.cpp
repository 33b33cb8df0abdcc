#include "working_folder_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "filesystem_api.h"

namespace stdfs = std::filesystem;

namespace {

// On Windows a death test's child runs the whole test again, SetUp included; it must work in its
// parent's folder, or the parent would look for the child's files in the wrong place. The parent
// names its folder in the environment, which the child inherits.
constexpr char kFolderVariable[] = "VANTOR_TEST_FOLDER";

void SetFolderVariable(const std::string& value) {
#ifdef _WIN32
  const std::string assignment = std::string(kFolderVariable) + "=" + value;
  _putenv(assignment.c_str());  // an empty value removes the variable
#else
  if (value.empty()) {
    unsetenv(kFolderVariable);
  } else {
    setenv(kFolderVariable, value.c_str(), 1);
  }
#endif
}

}  // namespace

void WorkingFolderTest::SetUp() {
  const char* inherited = std::getenv(kFolderVariable);
  if (inherited != nullptr && *inherited != '\0') {
    folder_ = inherited;
  } else {
    std::random_device random;
    std::ostringstream name;
    name << "vantor-test-" << std::hex << random() << random();
    folder_ = stdfs::temp_directory_path() / name.str();
    ASSERT_TRUE(stdfs::create_directory(folder_));
    ownsFolder_ = true;
    SetFolderVariable(folder_.string());
  }
  previousFolder_ = stdfs::current_path();
  stdfs::current_path(folder_);
  ASSERT_EQ(FS_init(), 1);
}

void WorkingFolderTest::TearDown() {
  // Shut down first: Windows cannot remove the files the library still holds open.
  FS_shutdown();
  stdfs::current_path(previousFolder_);
  if (ownsFolder_) {
    SetFolderVariable("");
    std::error_code ignored;
    stdfs::remove_all(folder_, ignored);
  }
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
