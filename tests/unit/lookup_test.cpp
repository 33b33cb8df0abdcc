// Names: which source serves one (the last registered that has it, with the names of packages
// ignoring case and every name taking both separators), which never leave their source, and which
// are refused.
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

// A name too long, none or an empty one is no file and no source; nor is one that nothing serves,
// or ".", a file.
TEST_F(LookupTest, BadNamesAreNoFileAndNoSource) {
  // Inside a package the host's own limits on paths do not get in the way.
  const std::string longest = "dir/" + std::string(FS_MAX_PATH - 4, 'n');
  MakePackage("data0.pak", {{longest, "long"}});
  ASSERT_EQ(FS_add_source("data0.pak", 1, 0, 0), 1);
  EXPECT_EQ(FsReadAll(longest.c_str()), "long");

  // One character too long, although it would normalise to the longest name.
  const std::string over = "/" + longest;
  const char* const bad[] = {over.c_str(), nullptr, "", "unknown.txt", "."};
  for (const char* name : bad) {
    EXPECT_EQ(FS_exists(name), 0) << (name ? name : "null");
    EXPECT_EQ(FS_open(name, 0), nullptr) << (name ? name : "null");
  }
  // Nor are the first three the name of a source.
  for (const char* name : {bad[0], bad[1], bad[2]}) EXPECT_EQ(FS_add_source(name, 0, 0, 0), 0);
  EXPECT_EQ(FS_open(longest.c_str(), 1), nullptr);  // 0 is the only mode
}

}  // namespace
