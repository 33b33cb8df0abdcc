// The registers of a processor context that the crash path reads or moves, by the same names on
// both Windows builds: the 32-bit context calls them Eip, Ebp and Esp, the 64-bit one Rip, Rbp and
// Rsp.
#pragma once

#include <windows.h>

inline DWORD64 InstructionPointer(const CONTEXT& context) {
#ifdef _WIN64
  return context.Rip;
#else
  return context.Eip;
#endif
}

inline DWORD64 FramePointer(const CONTEXT& context) {
#ifdef _WIN64
  return context.Rbp;
#else
  return context.Ebp;
#endif
}

inline DWORD64 StackPointer(const CONTEXT& context) {
#ifdef _WIN64
  return context.Rsp;
#else
  return context.Esp;
#endif
}

inline void SetInstructionPointer(CONTEXT& context, const void* address) {
#ifdef _WIN64
  context.Rip = reinterpret_cast<DWORD64>(address);
#else
  context.Eip = reinterpret_cast<DWORD>(address);
#endif
}
