// The game object as an engine built by Microsoft's compiler declares it: three virtual functions
// and a virtual destructor. That compiler gives the destructor one vtable slot, a "scalar deleting
// destructor" that takes a flag (bit 0: free the memory) — the slot the program calls Destroy.
#pragma once

// What the game does on its third OnIdle call, picked with -do=WORD on the command line handed to
// Init. Unless that ends the program, the game then posts WM_QUIT with -quit-code=N (default 0).
enum class IdleAction {
  kQuit,             // nothing more
  kCatch,            // throws a C++ exception and catches it itself
  kThrow,            // throws CBadStateException out of OnIdle (engine_exceptions.h), past a
                     // local whose destructor says so
  kThrowOther,       // throws an int out of OnIdle
  kWindowThrow,      // CWindowStateException out of the window procedure, for the first message the
                     // program dispatches (Init makes the window and posts it)
  kFault,            // writes through a null pointer with no handler
  kHandledFault,     // the same inside its own __try/__except
  kProbe,            // IsBadReadPtr(16, 4): Windows probes the address and handles the fault itself
  kDeclinedFault,    // the same fault inside a __try whose filter declines
  kFinallyFault,     // the same fault inside a __try/__finally
  kOverflow,         // a stack overflow inside a __try/__finally
  kFileSystemFault,  // the file-system library faults inside the engine's __try/__finally
  kFaultingCleanup,  // throws CBadStateException past a local whose destructor faults
};

class MsvcGame {
 public:
  virtual int Init(const char* commandLine, int showCommand);
  virtual void Reserved();
  virtual int OnIdle();
  virtual ~MsvcGame();

 private:
  // Returns the quit code to post, after doing what the action asks.
  int RunAction();

  IdleAction action_ = IdleAction::kQuit;
  int quitCode_ = 0;
  int idleCalls_ = 0;
};
