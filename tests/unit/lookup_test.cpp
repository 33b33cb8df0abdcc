// Which source serves a name: the last registered that has it, with the names of packages
// ignoring case and every name taking both separators.
#include <filesystem>
#include <string>

#include "filesystem_api.h"
#include "filesystem_fixture.h"

namespace {

using LookupTest = FilesystemTest;

// The program's own registration: 64 packages (most of them missing), the game folder, "data".
void RegisterLikeTheProgram() {
  for (int i = 0; i < 64; ++i) {
    const std::string package = "data" + std::to_string(i) + ".pak";
    ASSERT_EQ(FS_add_source(package.c_str(), 1, 0, 0), 1);
  }
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  ASSERT_EQ(FS_add_source("data", 1, 0, 0), 1);
}

TEST_F(LookupTest, LaterSourcesWin) {
  MakePackage("data0.pak", {{"only0.txt", "p0"}, {"both.txt", "p0"}, {"game.ini", "p0"}});
  MakePackage("data7.pak", {{"both.txt", "p7"}, {"game.ini", "p7"}, {"font.fnt", "p7"}});
  WriteFile("game.ini", "folder");
  WriteFile("font.fnt", "folder");
  WriteFile("data/font.fnt", "data");
  RegisterLikeTheProgram();

  EXPECT_EQ(FsReadAll("only0.txt"), "p0");
  EXPECT_EQ(FsReadAll("both.txt"), "p7");      // higher package over lower
  EXPECT_EQ(FsReadAll("game.ini"), "folder");  // game folder over packages
  EXPECT_EQ(FsReadAll("font.fnt"), "data");    // "data" over everything
  EXPECT_EQ(FS_exists("game.ini"), 1);
  EXPECT_EQ(FS_exists("absent.txt"), 0);
}

TEST_F(LookupTest, PackageNamesIgnoreCaseAndTakeBothSeparators) {
  MakePackage("data0.pak", {{"Textures/Wall.TGA", "wall"}});
  WriteFile("data/sub/dir/file.txt", "loose");
  RegisterLikeTheProgram();

  for (const char* name : {"Textures/Wall.TGA", "textures/wall.tga", "TEXTURES\\WALL.TGA",
                           "./textures//x/../wall.tga", "/Textures/Wall.TGA"}) {
    EXPECT_EQ(FS_exists(name), 1) << name;
    EXPECT_EQ(FsReadAll(name), "wall") << name;
  }
  // A folder source serves its whole tree, by either separator.
  for (const char* name : {"sub/dir/file.txt", "sub\\dir\\file.txt", "sub/x/../dir/./file.txt"}) {
    EXPECT_EQ(FsReadAll(name), "loose") << name;
  }
  // Folders themselves are not files, in a folder source or in a package.
  EXPECT_EQ(FS_exists("sub/dir"), 0);
  EXPECT_EQ(FS_open("sub", 0), nullptr);
  EXPECT_EQ(FS_exists("textures"), 0);
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
  for (const std::string& name :
       {std::string("../secret.txt"), std::string("../../secret.txt"), absolute,
        std::string("C:secret.txt"), std::string("//server/share/x.txt"),
        std::string("\\\\server\\share\\x.txt")}) {
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

}  // namespace
