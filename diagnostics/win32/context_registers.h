// The registers of a processor context that the crash path reads or moves, by the same names on
// both Windows builds: the 32-bit context calls them Eip, Ebp and Esp, the 64-bit one Rip, Rbp and
// Rsp.
#pragma once

#include <windows.h>

#ifdef _WIN64
inline DWORD64 InstructionPointer(const CONTEXT& context) {
  return context.Rip;
}
inline DWORD64 FramePointer(const CONTEXT& context) {
  return context.Rbp;
}
inline DWORD64 StackPointer(const CONTEXT& context) {
  return context.Rsp;
}
inline void SetInstructionPointer(CONTEXT& context, const void* address) {
  context.Rip = reinterpret_cast<DWORD64>(address);
}
#else
inline DWORD64 InstructionPointer(const CONTEXT& context) {
  return context.Eip;
}
inline DWORD64 FramePointer(const CONTEXT& context) {
  return context.Ebp;
}
inline DWORD64 StackPointer(const CONTEXT& context) {
  return context.Esp;
}
inline void SetInstructionPointer(CONTEXT& context, const void* address) {
  context.Eip = reinterpret_cast<DWORD>(address);
}
#endif
