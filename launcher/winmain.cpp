// The start-up program: checks the engine, mounts the game's data, creates the game and pumps
// messages until the game quits.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "engine_api.h"
#include "filesystem_api.h"

namespace {

// Makes the executable's own folder the working folder, so every relative name below is the
// game's.
void EnterExecutableFolder() {
  char path[1024];
  GetModuleFileNameA(nullptr, path, sizeof path);
  char drive[3], folder[256], name[256], extension[256];
  _splitpath(path, drive, folder, name, extension);
  char workingFolder[1024];
  std::snprintf(workingFolder, sizeof workingFolder, "%s%s", drive, folder);
  SetCurrentDirectoryA(workingFolder);
}

void MountDataSources() {
  FS_init();
  for (int n = 0; n < 64; ++n) {
    char package[260];
    std::snprintf(package, sizeof package, "data%d.pak", n);
    FS_add_source(package, 1, 0, 0);
  }
  FS_add_source(".", 0, 0, 0);
  FS_add_source("data", 1, 0, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  if (GetEngineDllVersion() != ENGINE_DLL_VERSION) {
    MessageBoxA(nullptr, "Invalid engine dll version!", "Error...", MB_ICONHAND);
    return 0;
  }
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  EnterExecutableFolder();
  MountDataSources();

  InitializeGameScript(instance, "Java", "code", "TestGame");
  CGame* game = CreateGame("TestGame", instance, 1);

  MSG message = {};
  if (game->Init(commandLine, showCommand) != 0) {
    message.message = WM_QUIT;
  } else {
    for (;;) {
      if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
      } else {
        game->OnIdle();
      }
    }
  }

  game->Destroy(1);
  PlaySoundA(nullptr, nullptr, 0);
  UninitializeGameScript();
  FS_shutdown();
  ExitProcess(static_cast<UINT>(message.wParam));
}
