// Declarations through which the program calls VantorEngine2.dll: the interface version, the
// game-script layer, the game object and the exception the engine throws out of a running game.
#pragma once

#if defined(VANTOR_ENGINE_BUILD)
#define ENGINE_API __declspec(dllexport)
#else
#define ENGINE_API __declspec(dllimport)
#endif

// The interface version this program speaks.
#define ENGINE_DLL_VERSION 0x10001

// What the engine throws out of Init, OnIdle or a window procedure. The first word of the object is
// the vtable pointer; message, file and line follow in this order. Everything is inline so that the
// type (and its type_info) is the same in every module that throws or catches it.
class CEngineException {
 public:
  CEngineException(const char* text, const char* sourceFile, int sourceLine)
      : message(text), file(sourceFile), line(sourceLine) {}
  virtual ~CEngineException() {}

  const char* message;
  const char* file;
  int line;
};

// The game object. Its vtable has exactly four slots, in this order, so that an engine built by
// another compiler (whose deleting destructor is a single slot taking a flag) can be driven too.
class CGame {
 public:
  // Takes the command line and show-window code given to WinMain; 0 when the game is ready.
  virtual int Init(const char* commandLine, int showCommand) = 0;
  // Not called by the program.
  virtual void Reserved() = 0;
  // One unit of game work; the result is ignored.
  virtual int OnIdle() = 0;
  // Destroys the object; flag 1 also releases its memory.
  virtual void Destroy(unsigned int flag) = 0;

 protected:
  // Destruction goes through Destroy only.
  ~CGame() {}
};

extern "C" {
ENGINE_API int GetEngineDllVersion(void);
ENGINE_API int InitializeGameScript(void* module, const char* javaClasses,
                                    const char* javaClassesPacked, const char* gameClassName);
ENGINE_API CGame* CreateGame(const char* gameClassName, void* module, int flag);
ENGINE_API int UninitializeGameScript(void);
}
