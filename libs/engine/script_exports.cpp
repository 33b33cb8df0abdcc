// The functions the program imports from VantorEngine2.dll, and the DLL's entry point.
#include <windows.h>

#include "demo_game.h"
#include "engine_api.h"
#include "engine_trace.h"
#include "options.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  // The idle calls since the last line would be lost otherwise.
  if (reason == DLL_PROCESS_DETACH) FlushIdleCalls();
  return TRUE;
}

int GetEngineDllVersion(void) {
  // Tests make the program refuse the engine by asking for another version on its command line.
  const int version = FindEngineVersionOverride(GetCommandLineA()).value_or(ENGINE_DLL_VERSION);
  EngineTrace("GetEngineDllVersion() = 0x%X", static_cast<unsigned int>(version));
  return version;
}

int InitializeGameScript(void* module, const char* javaClasses, const char* javaClassesPacked,
                         const char* gameClassName) {
  // The demo game needs no script classes: the call is only recorded.
  EngineTrace("InitializeGameScript(%s, \"%s\", \"%s\", \"%s\")", ModuleText(module).c_str(),
              TraceText(javaClasses), TraceText(javaClassesPacked), TraceText(gameClassName));
  return 1;
}

CGame* CreateGame(const char* gameClassName, void* module, int flag) {
  EngineTrace("CreateGame(\"%s\", %s, %d)", TraceText(gameClassName), ModuleText(module).c_str(),
              flag);
  // Tests make the engine fail to make the game, as a real one may fail to load its class.
  if (AsksForNoGame(GetCommandLineA())) return nullptr;
  return new DemoGame(gameClassName ? gameClassName : "");
}

int UninitializeGameScript(void) {
  EngineTrace("UninitializeGameScript()");
  return 1;
}
