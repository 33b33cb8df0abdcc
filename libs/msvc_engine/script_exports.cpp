// The functions the program imports from VantorEngine2.dll, as this engine provides them.
#include "command_words.h"
#include "engine_api.h"
#include "msvc_game.h"
#include "structured_faults.h"
#include "system_api.h"

int GetEngineDllVersion(void) {
  return ENGINE_DLL_VERSION;
}

int InitializeGameScript(void*, const char*, const char*, const char*) {
  // A real script layer starts a virtual machine here, which probes and handles faults of its own;
  // -script-fault on the program's command line does the same.
  if (FindWordValue(GetCommandLineA(), "-script-fault") != nullptr) FaultHandledByEngine();
  return 1;
}

CGame* CreateGame(const char*, void*, int) {
  // Called through CGame's four slots; MsvcGame has them in the same order (msvc_game.h).
  return reinterpret_cast<CGame*>(new MsvcGame);
}

int UninitializeGameScript(void) {
  return 1;
}
