// The layout built here is MSVC's C++ exception ABI: the record's parameters are the magic number,
// the thrown object, its ThrowInfo and, in a 64-bit module, the module's base. ThrowInfo leads to
// the array of catchable types (the thrown type and its bases), each with its type descriptor
// (two pointers, then the decorated name) and the displacement of that base in the object. All
// references between these structures are 32 bits wide: addresses in a 32-bit module, offsets
// from the module's base in a 64-bit one. They live in this DLL's static data, so the offsets fit.
#include "msvc_throw.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr DWORD kMsvcExceptionCode = 0xE06D7363;
constexpr ULONG_PTR kMagicNumber = 0x19930520;

using Reference = std::uint32_t;

struct TypeDescriptor {
  const void* vtable;
  void* spare;
  char name[32];
};

struct CatchableType {
  std::uint32_t properties;
  Reference type;
  std::int32_t mdisp, pdisp, vdisp;  // where this base lies in the thrown object
  std::int32_t size;
  Reference copyFunction;
};

struct CatchableTypeArray {
  std::int32_t count;
  Reference types[2];
};

struct ThrowInfo {
  std::uint32_t attributes;
  Reference unwind;
  Reference forwardCompatibility;
  Reference catchableTypes;
};

// The objects as an MSVC build lays them out: the vtable pointer first, then the members.
struct EngineExceptionObject {
  const void* vtable;
  const char* message;
  const char* file;
  int line;
};
struct BadStateObject {
  const void* vtable;
  std::intptr_t code;
  EngineExceptionObject engine;  // the CEngineException base, not at the object's start
};
struct RuntimeErrorObject {
  const void* vtable;
  const char* what;
};

// Stand-ins for the vtables the objects would point to; nothing calls through them.
const int kVtable = 0;

// What the references count from: this DLL's base in a 64-bit module, address 0 in a 32-bit one.
std::uintptr_t ReferenceBase() {
#ifdef _WIN64
  static const std::uintptr_t base = [] {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&ReferenceBase), &module);
    return reinterpret_cast<std::uintptr_t>(module);
  }();
  return base;
#else
  return 0;
#endif
}

Reference ReferenceTo(const void* target) {
  return static_cast<Reference>(reinterpret_cast<std::uintptr_t>(target) - ReferenceBase());
}

TypeDescriptor badStateType, engineExceptionType, runtimeErrorType, exceptionType;
CatchableType catchables[4];
CatchableTypeArray badStateTypes, runtimeErrorTypes, damagedTypes;
ThrowInfo badStateThrow, runtimeErrorThrow, damagedThrow;
BadStateObject badState;
RuntimeErrorObject runtimeError;

void Describe(TypeDescriptor& descriptor, const char* name) {
  descriptor.vtable = &kVtable;
  std::strncpy(descriptor.name, name, sizeof descriptor.name - 1);
}

void Catchable(CatchableType& catchable, const TypeDescriptor& type, std::int32_t mdisp,
               std::int32_t size) {
  catchable = CatchableType();
  catchable.type = ReferenceTo(&type);
  catchable.mdisp = mdisp;
  catchable.pdisp = -1;
  catchable.size = size;
}

void Throws(ThrowInfo& info, CatchableTypeArray& array, std::int32_t count,
            const CatchableType& first, const CatchableType& second) {
  array.count = count;
  array.types[0] = ReferenceTo(&first);
  array.types[1] = ReferenceTo(&second);
  info = ThrowInfo();
  info.catchableTypes = ReferenceTo(&array);
}

// Filled in at run time: the references depend on where the DLL was loaded.
void Prepare() {
  Describe(badStateType, ".?AVCBadStateException@@");
  Describe(engineExceptionType, ".?AVCEngineException@@");
  Describe(runtimeErrorType, ".?AVruntime_error@std@@");
  Describe(exceptionType, ".?AVexception@std@@");
  Catchable(catchables[0], badStateType, 0, sizeof(BadStateObject));
  Catchable(catchables[1], engineExceptionType, offsetof(BadStateObject, engine),
            sizeof(EngineExceptionObject));
  Catchable(catchables[2], runtimeErrorType, 0, sizeof(RuntimeErrorObject));
  Catchable(catchables[3], exceptionType, 0, sizeof(RuntimeErrorObject));
  Throws(badStateThrow, badStateTypes, 2, catchables[0], catchables[1]);
  Throws(runtimeErrorThrow, runtimeErrorTypes, 2, catchables[2], catchables[3]);
  // Claims far more catchable types than the array holds.
  Throws(damagedThrow, damagedTypes, 0x10000000, catchables[0], catchables[1]);

  badState = {&kVtable, 7, {&kVtable, "bad state", "world", 12}};
  runtimeError = {&kVtable, "demo game: deliberate failure"};
}

}  // namespace

void RaiseMsvcException(MsvcThrow kind) {
  Prepare();
  const void* object = &badState;
  const ThrowInfo* info = &badStateThrow;
  if (kind == MsvcThrow::kOther) {
    object = &runtimeError;
    info = &runtimeErrorThrow;
  } else if (kind == MsvcThrow::kDamaged) {
    info = &damagedThrow;
  }
  // A 64-bit thrower adds its module's base as a fourth parameter.
  const ULONG_PTR parameters[4] = {kMagicNumber, reinterpret_cast<ULONG_PTR>(object),
                                   reinterpret_cast<ULONG_PTR>(info), ReferenceBase()};
  RaiseException(kMsvcExceptionCode, EXCEPTION_NONCONTINUABLE, sizeof(void*) == 8 ? 4 : 3,
                 parameters);
  // A noncontinuable exception does not come back.
  ExitProcess(3);
}
