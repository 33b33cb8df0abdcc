// FS_path_normalize: one separator, "." and ".." resolved inside the root, never more than
// FS_MAX_PATH characters.
#include <cstring>
#include <string>

#include "filesystem_api.h"
#include "filesystem_fixture.h"

namespace {

using NormalizeTest = FilesystemTest;

// Normalises in place, the way the program calls it.
std::string NormalizeInPlace(const std::string& name) {
  char buffer[FS_MAX_PATH + 1];
  std::strcpy(buffer, name.c_str());
  const int length = FS_path_normalize(buffer, buffer);
  EXPECT_EQ(length, static_cast<int>(std::strlen(buffer))) << name;
  return buffer;
}

TEST_F(NormalizeTest, ResolvesDotsAndSeparatorsInPlace) {
  const std::pair<const char*, const char*> cases[] = {
      {"a/../b.ini", "b.ini"},
      {"./a/./b", "a/b"},
      {"a\\b/c\\d.txt", "a/b/c/d.txt"},
      {"a//b\\\\c///", "a/b/c"},
      {"/a/b", "a/b"},
      {"../../x", "x"},
      {"a/../../b/../c", "c"},
      {"a/b/../../..", ""},
      {".", ""},
      {"", ""},
      {"...", "..."},  // only "." and ".." are special
      {"Mixed/CASE.Ini", "Mixed/CASE.Ini"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(NormalizeInPlace(input), expected);
}

TEST_F(NormalizeTest, StaysWithinTheLimit) {
  const std::string longest = "d/" + std::string(FS_MAX_PATH - 2, 'x');
  EXPECT_EQ(NormalizeInPlace(longest), longest);
  EXPECT_EQ(NormalizeInPlace("./" + longest.substr(2)), longest.substr(2));

  // Longer sources (possible when source and destination differ) are cut, and the buffer's end is
  // never written past.
  char buffer[FS_MAX_PATH + 1 + 16];
  std::memset(buffer, '#', sizeof buffer);
  const std::string too_long(FS_MAX_PATH + 100, 'y');
  EXPECT_EQ(FS_path_normalize(buffer, too_long.c_str()), FS_MAX_PATH);
  EXPECT_EQ(std::string(buffer), too_long.substr(0, FS_MAX_PATH));
  for (std::size_t i = FS_MAX_PATH + 1; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << i;

  // A cut that ends in a separator is normalised again: a result is its own normal form.
  const std::string cut_at_separator = std::string(FS_MAX_PATH - 1, 'a') + "/bbbb";
  EXPECT_EQ(FS_path_normalize(buffer, cut_at_separator.c_str()), FS_MAX_PATH - 1);
  EXPECT_EQ(NormalizeInPlace(buffer), std::string(FS_MAX_PATH - 1, 'a'));

  // The limit applies to the result: a long source that resolves to little is kept whole.
  std::string shrinking;
  while (shrinking.size() < 2 * FS_MAX_PATH) shrinking += "skip/../";
  EXPECT_EQ(FS_path_normalize(buffer, (shrinking + "kept.txt").c_str()), 8);
  EXPECT_STREQ(buffer, "kept.txt");
}

TEST_F(NormalizeTest, NullArgumentsFail) {
  char buffer[FS_MAX_PATH + 1] = "old";
  EXPECT_EQ(FS_path_normalize(buffer, nullptr), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(FS_path_normalize(nullptr, "a/b"), -1);
}

}  // namespace
