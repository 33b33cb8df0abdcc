// The layout read here is MSVC's C++ exception ABI, as its compiler emits it for every throw: the
// record's parameters (magic number, thrown object, ThrowInfo and, on 64-bit, the image base),
// ThrowInfo { attributes, unwind function, forward-compatibility handler, catchable-type array },
// the array { count, catchable types... }, CatchableType { properties, type descriptor, this
// displacement { mdisp, pdisp, vdisp }, size, copy function } and TypeDescriptor { vtable pointer,
// spare pointer, decorated name }. All references inside are 32 bits wide: addresses on 32-bit,
// offsets from the image base on 64-bit.
#include "msvc_exception.h"

#include <cstring>

namespace {

constexpr std::uint64_t kMagicNumbers[] = {0x19930520, 0x19930521, 0x19930522};
// The decorated name of the engine's exception class as MSVC records it.
constexpr char kEngineExceptionName[] = ".?AVCEngineException@@";
// A thrown type lists itself and its public bases: a handful. More than this is a damaged record.
constexpr std::int32_t kMaxCatchableTypes = 64;

constexpr std::int64_t kThrowInfoCatchableTypes = 12;  // offset of the array's reference
constexpr std::int64_t kCatchableTypeDescriptor = 4;
constexpr std::int64_t kCatchableTypeDisplacement = 8;  // mdisp, pdisp, vdisp follow

// Reads the foreign structures of one record through the guarded memory, in its own layout.
class ForeignLayout {
 public:
  ForeignLayout(const ForeignExceptionRecord& record, const ForeignMemory& memory)
      : memory_(memory), wide_(record.parameterCount == 4), imageBase_(record.parameters[3]) {}

  std::int64_t PointerSize() const { return wide_ ? 8 : 4; }

  // Address arithmetic wraps at the thrower's pointer width, as its own does.
  std::uint64_t Add(std::uint64_t address, std::int64_t offset) const {
    const std::uint64_t sum = address + static_cast<std::uint64_t>(offset);
    return wide_ ? sum : sum & 0xFFFFFFFFu;
  }

  bool Int32(std::uint64_t address, std::int32_t& value) const {
    return memory_.Read(address, &value, sizeof value);
  }

  bool Pointer(std::uint64_t address, std::uint64_t& value) const {
    if (wide_) return memory_.Read(address, &value, sizeof value);
    std::uint32_t narrow = 0;
    if (!memory_.Read(address, &narrow, sizeof narrow)) return false;
    value = narrow;
    return true;
  }

  // A 32-bit reference to another structure; a null one counts as unreadable.
  bool Reference(std::uint64_t address, std::uint64_t& target) const {
    std::uint32_t value = 0;
    if (!memory_.Read(address, &value, sizeof value) || value == 0) return false;
    target = wide_ ? imageBase_ + value : value;
    return true;
  }

  // The zero-terminated text at address, cut to fit text; false when it cannot be read.
  template <std::size_t kSize>
  bool Text(std::uint64_t address, char (&text)[kSize]) const {
    if (address == 0) return false;
    for (std::size_t i = 0; i + 1 < kSize; ++i) {
      if (!memory_.Read(Add(address, static_cast<std::int64_t>(i)), &text[i], 1)) return false;
      if (text[i] == '\0') return true;
    }
    text[kSize - 1] = '\0';
    return true;
  }

  bool Bytes(std::uint64_t address, void* bytes, std::size_t size) const {
    return memory_.Read(address, bytes, size);
  }

 private:
  const ForeignMemory& memory_;
  bool wide_;
  std::uint64_t imageBase_;
};

// The type descriptor's decorated name follows its two pointers.
bool IsEngineExceptionType(const ForeignLayout& layout, std::uint64_t typeDescriptor) {
  char name[sizeof kEngineExceptionName];
  return layout.Bytes(layout.Add(typeDescriptor, 2 * layout.PointerSize()), name, sizeof name) &&
         std::memcmp(name, kEngineExceptionName, sizeof name) == 0;
}

bool IsMsvcThrow(const ForeignExceptionRecord& record) {
  if (record.code != kMsvcExceptionCode) return false;
  if (record.parameterCount != 3 && record.parameterCount != 4) return false;
  for (std::uint64_t magic : kMagicNumbers) {
    if (record.parameters[0] == magic) return true;
  }
  return false;
}

// Where the CEngineException part of object lies, by the catchable type's this displacement:
// mdisp from the object, or, when pdisp is not negative, from a virtual base found through the
// virtual-base table at pdisp.
bool EngineExceptionAddress(const ForeignLayout& layout, std::uint64_t catchableType,
                            std::uint64_t object, std::uint64_t& address) {
  std::int32_t mdisp = 0, pdisp = 0, vdisp = 0;
  const std::uint64_t displacement = layout.Add(catchableType, kCatchableTypeDisplacement);
  if (!layout.Int32(displacement, mdisp) || !layout.Int32(layout.Add(displacement, 4), pdisp) ||
      !layout.Int32(layout.Add(displacement, 8), vdisp)) {
    return false;
  }
  address = layout.Add(object, mdisp);
  if (pdisp >= 0) {
    std::uint64_t table = 0;
    std::int32_t baseOffset = 0;
    if (!layout.Pointer(layout.Add(object, pdisp), table) ||
        !layout.Int32(layout.Add(table, vdisp), baseOffset)) {
      return false;
    }
    address = layout.Add(address, static_cast<std::int64_t>(pdisp) + baseOffset);
  }
  return true;
}

// message, file and line follow the vtable pointer, each field as wide as the thrower's pointers.
bool ReadEngineException(const ForeignLayout& layout, std::uint64_t address,
                         ForeignEngineException& exception) {
  const auto width = static_cast<std::int64_t>(layout.PointerSize());
  std::uint64_t message = 0, file = 0;
  return layout.Pointer(layout.Add(address, width), message) &&
         layout.Pointer(layout.Add(address, 2 * width), file) &&
         layout.Int32(layout.Add(address, 3 * width), exception.line) &&
         layout.Text(message, exception.message) && layout.Text(file, exception.file);
}

}  // namespace

ForeignThrow DecodeForeignThrow(const ForeignExceptionRecord& record, const ForeignMemory& memory,
                                ForeignEngineException& exception) {
  if (!IsMsvcThrow(record)) return ForeignThrow::kNotMsvc;
  const ForeignLayout layout(record, memory);
  const std::uint64_t object = record.parameters[1];
  const std::uint64_t throwInfo = record.parameters[2];
  if (object == 0 || throwInfo == 0 || (record.parameterCount == 4 && record.parameters[3] == 0)) {
    return ForeignThrow::kOther;
  }
  std::uint64_t array = 0;
  std::int32_t count = 0;
  if (!layout.Reference(layout.Add(throwInfo, kThrowInfoCatchableTypes), array) ||
      !layout.Int32(array, count) || count <= 0 || count > kMaxCatchableTypes) {
    return ForeignThrow::kOther;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    std::uint64_t catchableType = 0, typeDescriptor = 0;
    if (!layout.Reference(layout.Add(array, 4 + 4 * static_cast<std::int64_t>(i)), catchableType) ||
        !layout.Reference(layout.Add(catchableType, kCatchableTypeDescriptor), typeDescriptor)) {
      return ForeignThrow::kOther;
    }
    if (!IsEngineExceptionType(layout, typeDescriptor)) continue;
    std::uint64_t address = 0;
    if (!EngineExceptionAddress(layout, catchableType, object, address) ||
        !ReadEngineException(layout, address, exception)) {
      return ForeignThrow::kOther;
    }
    return ForeignThrow::kEngineException;
  }
  return ForeignThrow::kOther;
}
