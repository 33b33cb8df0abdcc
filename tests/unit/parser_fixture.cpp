#include "parser_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include "filesystem_api.h"
#include "log_testing.h"

namespace stdfs = std::filesystem;

void ParserTest::SetUp() {
  std::random_device random;
  folder_ = stdfs::temp_directory_path() /
            ("vantor-parser-test-" + std::to_string(random()) + std::to_string(random()));
  ASSERT_TRUE(stdfs::create_directory(folder_));
  previous_folder_ = stdfs::current_path();
  stdfs::current_path(folder_);
  LogResetForTesting();
  ASSERT_EQ(FS_init(), 1);
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
}

void ParserTest::TearDown() {
  LogResetForTesting();  // Windows cannot remove a file that is still open
  FS_shutdown();
  stdfs::current_path(previous_folder_);
  std::error_code ignored;
  stdfs::remove_all(folder_, ignored);
}

std::string ParserTest::ReadFile(const stdfs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::unique_ptr<CZKParse> ParserTest::Load(const std::string& bytes, const char* name) {
  if (stdfs::path(name).has_parent_path())
    stdfs::create_directories(stdfs::path(name).parent_path());
  std::ofstream(name, std::ios::binary) << bytes;
  auto parser = std::make_unique<CZKParse>(name);
  EXPECT_EQ(parser->length, bytes.size()) << "the script was not loaded";
  return parser;
}

void ParserTest::RestartLog() {
  LogResetForTesting();
  std::error_code ignored;
  stdfs::remove("crash.log", ignored);
}
