// The start-up program: checks the engine, guards against a second instance, mounts the game's
// data, reads the settings, hands the game to the engine and pumps messages until the game quits;
// then shuts everything down in reverse order and ends with the quit code.
#include <windows.h>

#include "data_sources.h"
#include "engine_api.h"
#include "engine_calls.h"
#include "escaped_exception.h"
#include "filesystem_api.h"
#include "game_settings.h"
#include "log.h"
#include "message_loop.h"
#include "se_translator.h"
#include "side_tasks.h"
#include "single_instance.h"
#include "working_folder.h"

namespace {

// Init, then the message loop, inside the outermost handlers: whatever escapes the running game
// ends the process through CrashExit with exit code -1, and nothing is shut down.
void RunGame(CGame* game, LPSTR commandLine, int showCommand, MSG& message) {
  const EscapedExceptionGuard unwindingDeadEnds;
  try {
    if (EngineInit(*game, commandLine, showCommand) != 0) {
      // The game refused to start: leave as if it had quit, without looking at any message.
      message.message = WM_QUIT;
      return;
    }
    RunMessageLoop(*game, message);
  } catch (...) {
    CrashExitForCurrentException();
  }
}

// The executable's path as the settings look at it, cut to their limit.
const char* ExecutablePath(HINSTANCE instance) {
  static char path[kExecutablePathLimit];
  const DWORD length = GetModuleFileNameA(instance, path, sizeof path);
  // A path that does not fit comes back cut, on older systems without its zero.
  path[length < sizeof path ? length : sizeof path - 1] = '\0';
  return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int showCommand) {
  static MSG message;

  if (GetEngineDllVersion() != ENGINE_DLL_VERSION) {
    MessageBoxA(nullptr, "Invalid engine dll version!", "Error...", MB_ICONHAND);
    return 0;
  }
  // Before the working folder changes: the guard reads its message relative to the start folder.
  if (!CheckSingleInstance(commandLine)) return 0;

  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  SetSeTranslator(TranslateSeException);
  EnterExecutableFolder();

  CompileScriptParams();
  RunDxDiagReport();

  MountDataSources();
  static GameSettings settings = ReadGameSettings(commandLine, ExecutablePath(instance));

  InitializeGameScript(instance, settings.JavaClasses, settings.JavaClassesPacked,
                       settings.JavaGameClassName);
  CGame* game = CreateGame(settings.JavaGameClassName, instance, 1);
  if (!game) {
    // Nothing to run: say which class the engine could not make rather than fault on the null.
    LogPrint("CreateGame returned no game object for the class \"%s\"\n",
             settings.JavaGameClassName);
    CrashExit("Cannot create the game \"%s\".\n", settings.JavaGameClassName);
  }

  RunGame(game, commandLine, showCommand, message);

  game->Destroy(1);
  PlaySoundA(nullptr, nullptr, 0);  // stop any sound still playing
  UninitializeGameScript();
  FS_shutdown();
  ExitProcess(static_cast<UINT>(message.wParam));
}
