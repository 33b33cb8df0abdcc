// Names: which source serves one (the last registered that has it, with the names of packages
// ignoring case and every name taking both separators), which never leave their source, and
// FS_path_normalize, which works on text alone (one separator, "." and ".." resolved inside the
// root, never more than FS_MAX_PATH characters).
#include <cstring>
#include <filesystem>
#include <string>

#include "filesystem_api.h"
#include "filesystem_fixture.h"

namespace {

using LookupTest = FilesystemTest;

TEST_F(LookupTest, LaterSourcesWinAndPackageNamesIgnoreCase) {
  MakePackage("data0.pak",
              {{"only0.txt", "p0"}, {"both.txt", "p0"}, {"Textures/Wall.TGA", "wall"}});
  MakePackage("data7.pak", {{"both.txt", "p7"}, {"game.ini", "p7"}, {"font.fnt", "p7"}});
  WriteFile("game.ini", "folder");
  WriteFile("font.fnt", "folder");
  WriteFile("data/font.fnt", "data");
  WriteFile("data/sub/dir/file.txt", "loose");
  // The program's own registration: 64 packages (most of them missing), the game folder, "data".
  for (int i = 0; i < 64; ++i) {
    ASSERT_EQ(FS_add_source(("data" + std::to_string(i) + ".pak").c_str(), 1, 0, 0), 1);
  }
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  ASSERT_EQ(FS_add_source("data", 1, 0, 0), 1);

  const std::pair<const char*, const char*> served[] = {
      {"only0.txt", "p0"},
      {"both.txt", "p7"},      // higher package over lower
      {"game.ini", "folder"},  // game folder over packages
      {"font.fnt", "data"},    // "data" over everything
      {"textures/wall.tga", "wall"},
      {"TEXTURES\\WALL.TGA", "wall"},
      {"./textures//x/../wall.tga", "wall"},
      {"sub\\dir\\file.txt", "loose"},  // a folder source serves its whole tree
  };
  for (const auto& [name, bytes] : served) {
    EXPECT_EQ(FS_exists(name), 1) << name;
    EXPECT_EQ(FsReadAll(name), bytes) << name;
  }
  // Folders themselves are not files, in a folder source or in a package.
  for (const char* name : {"absent.txt", "sub/dir", "sub", "textures"}) {
    EXPECT_EQ(FS_exists(name), 0) << name;
    EXPECT_EQ(FS_open(name, 0), nullptr) << name;
  }
}

TEST_F(LookupTest, NamesCannotLeaveTheirSource) {
  WriteFile("secret.txt", "outside");
  WriteFile("data/inside.txt", "inside");
  // What refused names would reach if they were only normalised.
  WriteFile("data/server/share/x.txt", "unc");
#ifndef _WIN32
  WriteFile("data/C:secret.txt", "drive");
#endif
  ASSERT_EQ(FS_add_source("data", 1, 0, 0), 1);

  EXPECT_EQ(FsReadAll("../inside.txt"), "inside");  // ".." above the root is dropped
  EXPECT_EQ(FsReadAll("server/share/x.txt"), "unc");
  const std::string absolute = std::filesystem::absolute("secret.txt").string();
  for (const std::string name :
       {"../secret.txt", "../../secret.txt", absolute.c_str(), "C:secret.txt",
        "//server/share/x.txt", "\\\\server\\share\\x.txt"}) {
    EXPECT_EQ(FS_exists(name.c_str()), 0) << name;
    EXPECT_EQ(FS_open(name.c_str(), 0), nullptr) << name;
  }

  // Windows devices exist in every folder; they are never served. Elsewhere they can be real
  // files, which are refused too, so that a name means the same everywhere.
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  for (const char* device : {"con", "NUL.txt", "sub/aux", "com1", "lpt9.log", "CONOUT$"}) {
#ifndef _WIN32
    WriteFile(device, "file");
#endif
    EXPECT_EQ(FS_exists(device), 0) << device;
  }
  EXPECT_EQ(FsReadAll("secret.txt"), "outside");  // once "." is a source, it serves it
}

// Normalises in place, the way the program calls it.
std::string NormalizeInPlace(const std::string& name) {
  char buffer[FS_MAX_PATH + 1];
  std::strcpy(buffer, name.c_str());
  const int length = FS_path_normalize(buffer, buffer);
  EXPECT_EQ(length, static_cast<int>(std::strlen(buffer))) << name;
  return buffer;
}

TEST(NormalizeTest, StaysWithinTheLimit) {
  const std::string longest = "d/" + std::string(FS_MAX_PATH - 2, 'x');
  EXPECT_EQ(NormalizeInPlace(longest), longest);

  // Longer sources (possible when source and destination differ) are cut, and the buffer's end is
  // never written past.
  char buffer[FS_MAX_PATH + 1 + 16];
  std::memset(buffer, '#', sizeof buffer);
  const std::string tooLong(FS_MAX_PATH + 100, 'y');
  EXPECT_EQ(FS_path_normalize(buffer, tooLong.c_str()), FS_MAX_PATH);
  EXPECT_EQ(std::string(buffer), tooLong.substr(0, FS_MAX_PATH));
  EXPECT_EQ(std::string(buffer + FS_MAX_PATH + 1, 16), std::string(16, '#'));

  // A cut that ends in a separator is normalised again: a result is its own normal form.
  const std::string cutAtSeparator = std::string(FS_MAX_PATH - 1, 'a') + "/bbbb";
  EXPECT_EQ(FS_path_normalize(buffer, cutAtSeparator.c_str()), FS_MAX_PATH - 1);
  EXPECT_EQ(NormalizeInPlace(buffer), std::string(FS_MAX_PATH - 1, 'a'));

  // The limit applies to the result: a long source that resolves to little is kept whole.
  std::string shrinking;
  while (shrinking.size() < 2 * FS_MAX_PATH) shrinking += "skip/../";
  EXPECT_EQ(FS_path_normalize(buffer, (shrinking + "kept.txt").c_str()), 8);
  EXPECT_STREQ(buffer, "kept.txt");
}

}  // namespace
