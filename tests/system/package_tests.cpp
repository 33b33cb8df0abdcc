// The release package as a player gets it: the fixture unpacks the zip into an empty folder that
// VANTOR_GAME_DIR names, so the harness's game folders are copies of exactly what the zip holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness/game_run.h"

namespace {

std::string Unpacked(const std::string& file) {
  return harness::ToWindowsPath(std::getenv("VANTOR_GAME_DIR")) + "\\" + file;
}

// A file missing from the package shows here: the game draws frames (the screenshot comes after the
// 30th) and quits normally, and the script checker in tools/ passes the settings. A fault's report
// still names our frames with their typed variables: the runtime DLLs lost only debug sections that
// no report reads.
TEST(Package, TheUnpackedGameRunsAFewFramesAndQuits) {
  harness::GameFolder folder;
  const auto run = harness::RunGame(folder, "-screenshot=shot.bmp -quit-after-frames=31");
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_TRUE(run.result.boxes.empty());
  EXPECT_FALSE(harness::FileExists(folder.File("callstack.txt")));
  EXPECT_FALSE(harness::FileExists(folder.File("crash.log"))) << "the settings were not read";
  EXPECT_TRUE(harness::FileExists(folder.File("data\\Running.scr"))) << "read by a second start";
  EXPECT_TRUE(harness::Traced(run.trace, "CGame::screenshot shot.bmp") &&
              !harness::Traced(run.trace, "CGame::screenshot shot.bmp failed"));
  harness::RunOptions checker;
  checker.program = folder.File("tools\\zkparse.exe");
  checker.arguments = "game.ini";
  checker.workingFolder = folder.Path();
  const auto checked = harness::RunProgram(checker);
  EXPECT_TRUE(checked.started && checked.exitCode == 0) << checked.error << checked.exitCode;

  const auto fault = harness::RunGame(folder, "-no-window -fault=access");
  EXPECT_EQ(fault.result.exitCode, 0xFFFFFFFFul);
  const std::string report = harness::ReadFileText(folder.File("callstack.txt"));
  EXPECT_NE(report.find("WinMain\r\r\n  params:\r\r\n    instance HINSTANCE = "), std::string::npos)
      << report;
  EXPECT_NE(report.find("\r\r\n  locals:\r\r\n    message MSG = "), std::string::npos);
}

// Read as Explorer's file properties read them: the numbers, and the texts of the language that
// the translation table names.
TEST(Package, TheProgramCarriesThePackagesVersion) {
  const std::string program = Unpacked("Vantor.exe");
  std::vector<char> info(GetFileVersionInfoSizeA(program.c_str(), nullptr) + 1);
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, info.size(), info.data()));
  const auto query = [&info](const std::string& name) -> void* {
    void* value = nullptr;
    UINT size = 0;
    return VerQueryValueA(info.data(), name.c_str(), &value, &size) ? value : nullptr;
  };
  const auto* fixed = static_cast<VS_FIXEDFILEINFO*>(query("\\"));
  const auto* language = static_cast<WORD*>(query("\\VarFileInfo\\Translation"));
  ASSERT_TRUE(fixed && language);
  char numbers[64], block[64];
  std::snprintf(numbers, sizeof numbers, "%lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16,
                fixed->dwFileVersionMS & 0xFFFF, fixed->dwFileVersionLS >> 16,
                fixed->dwFileVersionLS & 0xFFFF);
  EXPECT_STREQ(numbers, VANTOR_VERSION ".0");
  EXPECT_TRUE(fixed->dwProductVersionMS == fixed->dwFileVersionMS &&
              fixed->dwProductVersionLS == fixed->dwFileVersionLS);
  std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", language[0], language[1]);
  const auto text = [&](const char* name) {
    return static_cast<char*>(query(block + std::string(name)));
  };
  EXPECT_STREQ(text("FileVersion"), VANTOR_VERSION);
  EXPECT_STREQ(text("ProductVersion"), VANTOR_VERSION);
  EXPECT_STREQ(text("FileDescription"), VANTOR_DESCRIPTION);
}

// Windows reads the manifest into the program's activation context: the rights it asks for, its
// DPI setting, and the systems it names (the newest first).
TEST(Package, WindowsReadsTheProgramsManifest) {
  const std::string program = Unpacked("Vantor.exe");
  ACTCTXA request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = program.c_str();
  request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
  const HANDLE context = CreateActCtxA(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
  QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
               nullptr);
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  WCHAR dpiAware[16] = {};
  QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                       L"dpiAware", dpiAware, 16, nullptr);
  EXPECT_STREQ(dpiAware, L"true");
  // The count, then the elements from 8 bytes on: as Windows 10 and Wine lay them out, each ends
  // with a 64-bit version that mingw's declaration lacks.
  alignas(8) unsigned char supported[256] = {};
  QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, supported,
               sizeof supported, nullptr);
  const GUID windows10 = {
      0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};
  EXPECT_EQ(*reinterpret_cast<DWORD*>(supported), 5u);
  EXPECT_TRUE(IsEqualGUID(*reinterpret_cast<GUID*>(supported + 8), windows10));
  ReleaseActCtx(context);
}

}  // namespace
