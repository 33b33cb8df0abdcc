#include "variable_dump.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "dbghelp_binding.h"
#include "own_memory.h"
#include "report_text.h"

namespace {

enum class Section { kNone, kParams, kLocals };

Section section = Section::kNone;
// The module of the variable being listed: every type query names it.
DWORD64 typeModuleBase = 0;

// Members listed per type; a type with more is cut to this many.
constexpr DWORD kMemberCapacity = 256;
// Deeper nesting is not expanded: the value is shown instead of members, so that a type whose
// records loop cannot recurse without end.
constexpr int kMaxLevels = 16;

// A 4-byte value on i686 (the program's pointer size) may point to text; on x64 an 8-byte one.
constexpr ULONG64 kPointerSize = sizeof(void*);
#ifdef _WIN64
constexpr ULONG64 kHighestTextAddress = 0x7FFFFFFEFFFFull;
#else
constexpr ULONG64 kHighestTextAddress = 0x80000000ull;
#endif
constexpr ULONG64 kLowestTextAddress = 0x1000;
constexpr ULONG64 kPageSize = 0x1000;

constexpr DWORD kFloatingPoint = 8;  // basic type code of float and double
constexpr int kTextScoreLimit = -10;

// TI_FINDCHILDREN_PARAMS holds room for one id; the rest of the list follows it.
struct MemberList {
  TI_FINDCHILDREN_PARAMS params;
  ULONG moreIds[kMemberCapacity - 1];
};

template <typename Result>
bool TypeInfo(ULONG id, IMAGEHLP_SYMBOL_TYPE_INFO query, Result* result) {
  return dbgHelp.entry.SymGetTypeInfo != nullptr &&
         dbgHelp.entry.SymGetTypeInfo(dbgHelp.process, typeModuleBase, id, query, result);
}

// How many bytes, at most limit, can be read from address without crossing into the next page:
// memory is readable or not a page at a time, so a chunk that fails holds the first bad byte.
std::size_t ChunkAt(ULONG64 address, std::size_t limit) {
  const ULONG64 toPageEnd = kPageSize - (address % kPageSize);
  return static_cast<std::size_t>(std::min<ULONG64>(toPageEnd, limit));
}

// Appends the zero-terminated text at address (already found readable); false when the text ends
// in unreadable memory.
bool AppendTextAt(ULONG64 address) {
  char chunk[65];
  while (!ReportTextFull()) {
    const std::size_t size = ChunkAt(address, sizeof chunk - 1);
    if (!ReadOwnMemory(address, chunk, size)) return false;
    chunk[size] = '\0';
    ReportAppend("%s", chunk);
    if (std::memchr(chunk, '\0', size) != nullptr) return true;
    address += size;
  }
  return true;
}

// The first min(size, 8) bytes at address as a little-endian number; false when unreadable.
bool ReadValue(ULONG64 address, ULONG64 size, ULONG64& value) {
  value = 0;
  const std::size_t count = static_cast<std::size_t>(std::min<ULONG64>(size, sizeof value));
  unsigned char bytes[sizeof value] = {};
  if (count > 0 && !ReadOwnMemory(address, bytes, count)) return false;
  for (std::size_t i = count; i > 0; --i) value = (value << 8) | bytes[i - 1];
  return true;
}

double AsFloatingPoint(ULONG64 value, ULONG64 size) {
  if (size == 4) {
    const auto bits = static_cast<std::uint32_t>(value);
    float single;
    std::memcpy(&single, &bits, sizeof single);
    return single;
  }
  double wide;
  std::memcpy(&wide, &value, sizeof wide);
  return wide;
}

}  // namespace

void ResetVariableSection() {
  section = Section::kNone;
}

BOOL CALLBACK ListVariable(PSYMBOL_INFO symbol, ULONG /*size*/, PVOID context) {
  const auto* frame = static_cast<const STACKFRAME64*>(context);
  typeModuleBase = symbol->ModBase;
  if (symbol->Flags & SYMFLAG_PARAMETER) {
    if (section != Section::kParams) {
      section = Section::kParams;
      ReportAppend("  params:\r\n");
    }
  } else if (section != Section::kLocals) {
    section = Section::kLocals;
    ReportAppend("  locals:\r\n");
  }
  ReportAppend("    %s ", symbol->Name);
  ULONG64 address = symbol->Address;
  if (symbol->Flags & SYMFLAG_REGREL) {
    // Relative to whichever register the symbol names: with frame pointers kept, that register
    // holds the walked frame's frame address. An offset below the frame comes as a
    // pointer-sized two's complement number (a local at -24 in a 32-bit process reads
    // 0xFFFFFFE8), so the sum wraps at the pointer's width, as the processor's address
    // arithmetic does.
    address = static_cast<std::uintptr_t>(address + frame->AddrFrame.Offset);
  } else if (symbol->Flags & SYMFLAG_REGISTER) {
    // The register's value at this frame is not known: the frame's listing ends here.
    return FALSE;
  }
  // What was written of the variable stays; the error line says where it broke off.
  if (!FormatVariable(symbol->TypeIndex, 0, address)) {
    ReportAppend("\r\nError reading symbol %s!\r\n", symbol->Name);
  }
  return TRUE;
}

bool FormatVariable(ULONG id, int level, ULONG64 address) {
  DWORD memberCount = 0;
  if (!TypeInfo(id, TI_GET_CHILDRENCOUNT, &memberCount)) memberCount = 0;
  WCHAR* name = nullptr;
  if (TypeInfo(id, TI_GET_SYMNAME, &name) && name != nullptr) {
    ReportAppend("%ls ", name);
    LocalFree(name);
  }
  if (memberCount == 0 || level >= kMaxLevels) return FormatValue(id, level, address);
  // Each level has its own list, on its own stack frame, so inner types do not replace it.
  MemberList members = {};
  members.params.Count = std::min(memberCount, kMemberCapacity);
  members.params.Start = 0;
  if (!TypeInfo(id, TI_FINDCHILDREN, &members.params)) members.params.Count = 0;
  ReportAppend("\r\n");
  for (ULONG i = 0; i < members.params.Count; ++i) {
    const ULONG member = members.params.ChildId[i];
    DWORD offset = 0;
    // Member functions, static members and nested types have no offset: they are left out.
    if (!TypeInfo(member, TI_GET_OFFSET, &offset)) continue;
    for (int unit = 0; unit < level + 3; ++unit) ReportAppend("  ");
    if (!FormatVariable(member, level + 1, address + offset)) return false;
  }
  return true;
}

bool FormatValue(ULONG id, int level, ULONG64 address) {
  DWORD baseType = 0;
  bool haveBaseType = TypeInfo(id, TI_GET_BASETYPE, &baseType);
  DWORD typeId = 0;
  bool haveTypeId = false;
  if (!haveBaseType) {
    haveTypeId = TypeInfo(id, TI_GET_TYPEID, &typeId);
    if (haveTypeId) haveBaseType = TypeInfo(typeId, TI_GET_BASETYPE, &baseType);
  }
  // A variable's own type tells its size; a member's size is that of the member's type.
  ULONG64 length = 0;
  DWORD count = 0;
  const bool haveSizingId = level == 0 || haveTypeId;
  const ULONG sizingId = level == 0 ? id : typeId;
  if (haveSizingId) {
    if (!TypeInfo(sizingId, TI_GET_LENGTH, &length)) length = 0;
    if (!TypeInfo(sizingId, TI_GET_COUNT, &count)) count = 0;
  }
  const bool floatingPoint = haveBaseType && baseType == kFloatingPoint;

  ReportAppend("= ");
  if (length == count && IsPrintableText(address)) {
    ReportAppend("\"");
    if (!AppendTextAt(address)) return false;
    ReportAppend("\"\r\n");
    return true;
  }
  const bool array = count != 0;
  const ULONG64 elementSize = array ? length / count : length;
  const DWORD shown = array ? std::min<DWORD>(count, 10) : 1;
  if (array) ReportAppend("{ ");
  for (DWORD element = 0; element < shown; ++element) {
    ULONG64 value = 0;
    if (!ReadValue(address, elementSize, value)) return false;
    if (floatingPoint) {
      ReportAppend("%lf", AsFloatingPoint(value, elementSize));
    } else if (elementSize == kPointerSize && IsPrintableText(value)) {
      ReportAppend("\"");
      if (!AppendTextAt(value)) return false;
      ReportAppend("\"");
    } else {
      ReportAppend("%I64X", value);
    }
    if (value < 0x100 && std::isprint(static_cast<int>(value))) {
      ReportAppend(" ('%c')", static_cast<int>(value));
    }
    if (array) ReportAppend(element + 1 == shown ? " }" : ", ");
    address += elementSize;
  }
  ReportAppend("\r\n");
  return true;
}

bool IsPrintableText(ULONG64 address) {
  if (address < kLowestTextAddress || address > kHighestTextAddress) return false;
  int score = 0;
  unsigned char chunk[64];
  for (;;) {
    const std::size_t size = ChunkAt(address, sizeof chunk);
    if (!ReadOwnMemory(address, chunk, size)) return false;
    for (std::size_t i = 0; i < size; ++i) {
      const int byte = chunk[i];
      if (byte == 0) return score > 0;
      if (std::isalnum(byte)) {
        ++score;
      } else if (!std::isprint(byte)) {
        score -= 5;
      }
      if (score <= kTextScoreLimit) return false;
    }
    address += size;
  }
}
