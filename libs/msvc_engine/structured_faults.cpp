#include "structured_faults.h"

#include "cleanup.h"
#include "filesystem_api.h"
#include "system_api.h"

namespace {

__declspec(noinline) void WriteThroughNull() {
  int* volatile target = nullptr;
  *target = 1;
}

int DeclineAndSay() {
  OutputDebugStringA("msvc engine: the filter declines\n");
  return kExceptionContinueSearch;
}

}  // namespace

void FaultUnhandled() {
  WriteThroughNull();
}

void FaultHandledByEngine() {
  __try {
    WriteThroughNull();
  } __except (kExceptionExecuteHandler) {
    OutputDebugStringA("msvc engine: fault handled\n");
  }
}

void FaultPastDecliningFilter() {
  __try {
    WriteThroughNull();
  } __except (DeclineAndSay()) {
    OutputDebugStringA("msvc engine: declined fault handled after all\n");
  }
}

void FaultUnderFinally() {
  __try {
    WriteThroughNull();
  } __finally {
    OutputDebugStringA("msvc engine: __finally ran\n");
  }
}

void FaultInFileSystemUnderFinally() {
  __try {
    // A name at an address that is never mapped: the library faults reading it.
    FS_exists(reinterpret_cast<const char*>(16));
  } __finally {
    OutputDebugStringA("msvc engine: __finally ran\n");
  }
}

FaultsWhenDestroyed::~FaultsWhenDestroyed() {
  WriteThroughNull();
}
