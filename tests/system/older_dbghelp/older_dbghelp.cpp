// A stand-in for an older dbghelp.dll, put beside Vantor.exe by the crash-report system tests. It
// has what a stack walk needs and nothing for names, lines or variables (no SymFromAddr), and it
// walks by the frame-pointer chain, which every module of ours keeps. When loaded it leaves the
// file "dbghelp_loaded.txt" in the working folder, so that a test can tell whether the program
// loaded the library at all.
#include <windows.h>

#include <cstdint>

#define OLDER_DBGHELP_EXPORT extern "C" __declspec(dllexport)

namespace {

// The leading part of dbghelp.h's STACKFRAME64, declared here because that header declares the
// functions this library defines as imports.
struct Address64 {
  DWORD64 Offset;
  WORD Segment;
  DWORD Mode;
};
struct StackFrame64 {
  Address64 AddrPC;
  Address64 AddrReturn;
  Address64 AddrFrame;
  Address64 AddrStack;
  Address64 AddrBStore;
  PVOID FuncTableEntry;
  DWORD64 Params[4];
  BOOL Far;
  BOOL Virtual;
  DWORD64 Reserved[3];
};

bool Read(DWORD64 address, void* bytes, SIZE_T size) {
  SIZE_T read = 0;
  return ReadProcessMemory(GetCurrentProcess(),
                           reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)), bytes,
                           size, &read) &&
         read == size;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    const HANDLE marker = CreateFileA("dbghelp_loaded.txt", GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  }
  return TRUE;
}

OLDER_DBGHELP_EXPORT DWORD WINAPI SymSetOptions(DWORD options) {
  return options;
}

OLDER_DBGHELP_EXPORT BOOL WINAPI SymInitialize(HANDLE, PCSTR, BOOL) {
  return TRUE;
}

OLDER_DBGHELP_EXPORT BOOL WINAPI SymCleanup(HANDLE) {
  return TRUE;
}

OLDER_DBGHELP_EXPORT PIMAGE_NT_HEADERS WINAPI ImageNtHeader(PVOID base) {
  const auto* dos = static_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  return reinterpret_cast<PIMAGE_NT_HEADERS>(static_cast<char*>(base) + dos->e_lfanew);
}

OLDER_DBGHELP_EXPORT DWORD64 WINAPI SymGetModuleBase64(HANDLE, DWORD64 address) {
  MEMORY_BASIC_INFORMATION region;
  if (VirtualQuery(reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)), &region,
                   sizeof region) == 0 ||
      region.Type != MEM_IMAGE) {
    return 0;
  }
  return reinterpret_cast<std::uintptr_t>(region.AllocationBase);
}

OLDER_DBGHELP_EXPORT PVOID WINAPI SymFunctionTableAccess64(HANDLE, DWORD64) {
  return nullptr;
}

// The first call reports the frame it is given; each further call follows the saved frame pointer
// and return address, until the chain leaves the stack or stops rising.
OLDER_DBGHELP_EXPORT BOOL WINAPI StackWalk64(DWORD, HANDLE, HANDLE, StackFrame64* frame, PVOID,
                                             PVOID, PVOID, PVOID, PVOID) {
  if (frame->Reserved[0] == 0) {
    frame->Reserved[0] = 1;
    return frame->AddrPC.Offset != 0;
  }
  const DWORD64 framePointer = frame->AddrFrame.Offset;
  std::uintptr_t saved[2] = {};  // the caller's frame pointer, then the return address
  if (framePointer == 0 || !Read(framePointer, saved, sizeof saved)) return FALSE;
  if (saved[0] <= framePointer || saved[1] == 0) return FALSE;
  frame->AddrPC.Offset = saved[1];
  frame->AddrFrame.Offset = saved[0];
  frame->AddrStack.Offset = framePointer + sizeof saved;
  return TRUE;
}
