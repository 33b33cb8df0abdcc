// C++ exceptions raised by MSVC-compiled code, as the launcher meets them when a closed engine
// built with that compiler throws: a structured exception whose record holds the thrown object and
// the compiler's description of its type. This is the one place that knows that foreign layout;
// it needs no Windows, so that it is tested natively on hand-built records of both layouts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "filesystem_api.h"

// The structured-exception code of every MSVC C++ throw ("msc" with 0xE0).
constexpr std::uint32_t kMsvcExceptionCode = 0xE06D7363;

// The parts of an exception record that the decoding reads. Addresses are widened to 64 bits.
struct ForeignExceptionRecord {
  std::uint32_t code = 0;
  std::uint32_t parameterCount = 0;
  std::uint64_t parameters[4] = {};
};

// The process's memory as the decoding may read it: a read that cannot be done fails instead of
// faulting, so that a damaged record is never a second fault.
class ForeignMemory {
 public:
  virtual ~ForeignMemory() = default;
  // Copies size bytes at address into bytes; false when any of them cannot be read.
  virtual bool Read(std::uint64_t address, void* bytes, std::size_t size) const = 0;
};

enum class ForeignThrow {
  kNotMsvc,          // not a C++ exception of MSVC-compiled code
  kEngineException,  // its type can be caught as CEngineException; text filled in
  kOther,            // any other type, or a record that cannot be read whole
};

// What the launcher shows of an engine exception, cut to these sizes.
struct ForeignEngineException {
  char message[1024] = {};
  char file[FS_MAX_PATH + 1] = {};
  std::int32_t line = 0;
};

// Decodes record. A 32-bit thrower gives three parameters (magic number, object, throw
// information, all addresses absolute); a 64-bit one gives a fourth, the throwing module's base,
// from which the throw information and everything it leads to are reached through 32-bit
// image-relative offsets. When the thrown type's catchable types include CEngineException,
// message, file and line are read from the object (after its vtable pointer, the catchable type's
// this displacement applied) into exception.
ForeignThrow DecodeForeignThrow(const ForeignExceptionRecord& record, const ForeignMemory& memory,
                                ForeignEngineException& exception);
