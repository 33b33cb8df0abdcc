// The crash report's text and file over a debug-help "library" of the test's own: its functions
// go into the binding's entry-point table, so that the tests choose the frames, symbols, lines and
// types the report sees. Variable values are read from this process's real memory.
#include "crash_report.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "crash_dump.h"
#include "dbghelp_binding.h"
#include "report_text.h"
#include "stack_walk.h"
#include "variable_dump.h"
#include "working_folder_fixture.h"

namespace {

struct FakeSymbol {
  std::string name;
  ULONG flags;
  ULONG64 address;
  ULONG typeId;
};

struct FakeFrame {
  DWORD64 pc;
  const char* name;  // null: no symbol at pc
  const char* file;  // null: no line at pc
  DWORD line;
  DWORD64 frameAddress;
  std::vector<FakeSymbol> symbols;
};

// Type records; every query a record does not answer fails.
struct FakeType {
  std::wstring name;  // empty: no name
  std::vector<ULONG> children;
  std::optional<DWORD> offset, baseType, typeId, count;  // no count: not an array
  std::optional<ULONG64> length;
};

struct FakeLibrary {
  std::vector<FakeFrame> frames;
  std::map<ULONG, FakeType> types;
  size_t walked = 0;
  std::vector<DWORD64> contextPcs;  // SymSetContext's instruction offsets
};

FakeLibrary* library = nullptr;

const FakeFrame* FrameAt(DWORD64 pc) {
  for (const FakeFrame& frame : library->frames) {
    if (frame.pc == pc) return &frame;
  }
  return nullptr;
}

// Writes a record's answer, if it has one, where the query's result goes.
template <typename T>
BOOL Answer(const std::optional<T>& value, PVOID result) {
  if (value) *static_cast<T*>(result) = *value;
  return value.has_value();
}

BOOL WINAPI FakeSymGetTypeInfo(HANDLE, DWORD64, ULONG id, IMAGEHLP_SYMBOL_TYPE_INFO query,
                               PVOID result) {
  const auto found = library->types.find(id);
  if (found == library->types.end()) return FALSE;
  const FakeType& type = found->second;
  switch (query) {
    case TI_GET_CHILDRENCOUNT:
      if (type.children.empty()) return FALSE;
      *static_cast<DWORD*>(result) = static_cast<DWORD>(type.children.size());
      return TRUE;
    case TI_FINDCHILDREN: {
      // Like Wine's library: as many ids as the caller asks for, from its start index.
      auto* params = static_cast<TI_FINDCHILDREN_PARAMS*>(result);
      for (ULONG i = 0; i < params->Count; ++i) {
        if (params->Start + i >= type.children.size()) return FALSE;
        params->ChildId[i] = type.children[params->Start + i];
      }
      return TRUE;
    }
    case TI_GET_SYMNAME: {
      if (type.name.empty()) return FALSE;
      const size_t bytes = (type.name.size() + 1) * sizeof(WCHAR);
      auto* copy = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, bytes));
      std::memcpy(copy, type.name.c_str(), bytes);
      *static_cast<WCHAR**>(result) = copy;
      return TRUE;
    }
    case TI_GET_OFFSET:
      return Answer(type.offset, result);
    case TI_GET_BASETYPE:
      return Answer(type.baseType, result);
    case TI_GET_TYPEID:
      return Answer(type.typeId, result);
    case TI_GET_LENGTH:
      return Answer(type.length, result);
    case TI_GET_COUNT:
      return Answer(type.count, result);
    default:
      return FALSE;
  }
}

BOOL WINAPI FakeSymFromAddr(HANDLE, DWORD64 address, PDWORD64 displacement, PSYMBOL_INFO symbol) {
  const FakeFrame* frame = FrameAt(address);
  if (frame == nullptr || frame->name == nullptr) return FALSE;
  std::snprintf(symbol->Name, symbol->MaxNameLen, "%s", frame->name);
  *displacement = 0;
  return TRUE;
}

IMAGE_NT_HEADERS fakeHeaders;

// The entry points that answer the same whatever they are asked.
struct Constant {
  static DWORD64 WINAPI SymGetModuleBase64(HANDLE, DWORD64) { return 0x400000; }
  static PVOID WINAPI SymFunctionTableAccess64(HANDLE, DWORD64) { return nullptr; }
  static PIMAGE_NT_HEADERS WINAPI ImageNtHeader(PVOID base) {
    return base == reinterpret_cast<PVOID>(0x400000) ? &fakeHeaders : nullptr;
  }
};

BOOL WINAPI FakeStackWalk64(DWORD, HANDLE, HANDLE, LPSTACKFRAME64 frame, PVOID,
                            PREAD_PROCESS_MEMORY_ROUTINE64, PFUNCTION_TABLE_ACCESS_ROUTINE64,
                            PGET_MODULE_BASE_ROUTINE64, PTRANSLATE_ADDRESS_ROUTINE64) {
  if (library->walked >= library->frames.size()) return FALSE;
  const FakeFrame& next = library->frames[library->walked];
  frame->AddrPC.Offset = next.pc;
  frame->AddrFrame.Offset = next.frameAddress;
  ++library->walked;
  return TRUE;
}

BOOL WINAPI FakeSymGetLineFromAddr64(HANDLE, DWORD64 address, PDWORD displacement,
                                     PIMAGEHLP_LINE64 line) {
  const FakeFrame* frame = FrameAt(address);
  if (frame == nullptr || frame->file == nullptr) return FALSE;
  line->FileName = const_cast<char*>(frame->file);
  line->LineNumber = frame->line;
  *displacement = 0;
  return TRUE;
}

BOOL WINAPI FakeSymSetContext(HANDLE, PIMAGEHLP_STACK_FRAME frame, PIMAGEHLP_CONTEXT) {
  library->contextPcs.push_back(frame->InstructionOffset);
  return TRUE;
}

BOOL WINAPI FakeSymEnumSymbols(HANDLE, ULONG64, PCSTR, PSYM_ENUMERATESYMBOLS_CALLBACK callback,
                               PVOID context) {
  const FakeFrame* frame = FrameAt(library->contextPcs.back());
  if (frame == nullptr) return TRUE;
  for (const FakeSymbol& fake : frame->symbols) {
    struct {
      SYMBOL_INFO info;
      char name[256];
    } symbol = {};
    symbol.info.SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol.info.MaxNameLen = sizeof symbol.name;
    symbol.info.Flags = fake.flags;
    symbol.info.Address = fake.address;
    symbol.info.TypeIndex = fake.typeId;
    symbol.info.ModBase = 0x400000;
    std::snprintf(symbol.info.Name, 256, "%s", fake.name.c_str());
    if (!callback(&symbol.info, 0, context)) break;
  }
  return TRUE;
}

// In the binding's order. The binding counts as done, so the three set-up functions are never
// called. Without a dump writer, as an older library: the report goes without a dump.
// clang-format off
constexpr DbgHelpEntryPoints kFullLibrary = {
    nullptr, nullptr, nullptr, FakeSymGetTypeInfo,
    FakeSymFromAddr, Constant::ImageNtHeader, Constant::SymGetModuleBase64,
    Constant::SymFunctionTableAccess64, FakeStackWalk64, FakeSymGetLineFromAddr64,
    FakeSymSetContext, FakeSymEnumSymbols, nullptr};
// clang-format on

// clang-format off
enum TypeId : ULONG { kInt = 1, kChar, kCharArray3, kCharPointer, kIntArray3, kIntArray20, kFloat,
                      kPoint, kPointX, kPointY, kPointMethod, kWide, kWideMember0 };
// clang-format on

constexpr ULONG kInRegister = SYMFLAG_PARAMETER | SYMFLAG_REGISTER;

std::map<ULONG, FakeType> StandardTypes() {
  const auto basic = [](DWORD code, ULONG64 length) {
    return FakeType{L"", {}, {}, code, {}, {}, length};
  };
  const auto derived = [](DWORD element, ULONG64 length, std::optional<DWORD> count) {
    return FakeType{L"", {}, {}, {}, element, count, length};
  };
  const auto member = [](const wchar_t* name, DWORD offset) {
    return FakeType{name, {}, offset, {}, kInt, {}, {}};
  };
  return {
      {kInt, basic(6, 4)},
      {kChar, basic(2, 1)},
      {kFloat, basic(8, 4)},
      {kCharArray3, derived(kChar, 3, 3)},
      {kCharPointer, derived(kChar, sizeof(void*), {})},
      {kIntArray3, derived(kInt, 12, 3)},
      {kIntArray20, derived(kInt, 80, 20)},
      {kPoint, FakeType{L"Point", {kPointX, kPointMethod, kPointY}, {}, {}, {}, {}, {}}},
      {kPointX, member(L"x", 0)},
      {kPointY, member(L"y", 4)},
      {kPointMethod, FakeType{L"Length", {}, {}, {}, {}, {}, {}}},  // a member function: no offset
      // A structure of 300 int members, all at offset 0.
      {kWide, FakeType{L"Wide", std::vector<ULONG>(300, kWideMember0), {}, {}, {}, {}, {}}},
      {kWideMember0, member(L"m", 0)},
  };
}

DWORD64 Address(const void* pointer) {
  return static_cast<DWORD64>(reinterpret_cast<std::uintptr_t>(pointer));
}

// Each test runs in a working folder of its own, where the report's file lands.
class CrashReportTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    WorkingFolderTest::SetUp();
    saved_ = dbgHelp;
    library = &library_;
    library_.types = StandardTypes();
    // Binding done: DbgHelpBind leaves these functions in place.
    dbgHelp.reportingEnabled = true;
    dbgHelp.process = GetCurrentProcess();
    dbgHelp.entry = kFullLibrary;
    context_ = CONTEXT();
#ifdef _WIN64
    context_.Rip = 0x401000;
#else
    context_.Eip = 0x401000;
#endif
  }
  void TearDown() override {
    dbgHelp = saved_;
    library = nullptr;
    WorkingFolderTest::TearDown();
  }

  // The walked text, or "(walk failed)".
  std::string Walk() {
    const ReportText text;
    if (!WalkCallStack(&context_)) return "(walk failed)";
    return text.Contents();
  }

  // The listing of one frame's symbols, without the frame's name line.
  std::string ListFrame(std::vector<FakeSymbol> symbols) {
    library_.frames = {{0x401000, "F", nullptr, 0, 0, std::move(symbols)}};
    const std::string text = Walk();
    const std::string head = "\r\nCall stack:\r\nF\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    return text.substr(head.size());
  }

  // Writes the report of an access violation at the context, and its dump, which a library
  // without a dump writer leaves out; the report file's bytes.
  std::string Report() {
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    EXCEPTION_POINTERS pointers = {&record, &context_};
    WriteCrashReport(&pointers);
    WriteCrashDump(&pointers);
    EXPECT_FALSE(std::filesystem::exists("crashdumps"));
    return ReadFile("callstack.txt");
  }

  FakeLibrary library_;
  CONTEXT context_;

 private:
  DbgHelpBinding saved_;
};

const std::string kSeparatorBytes = std::string(60, '*') + "\r\n\r";

// Frames show name and line when known and the address otherwise; the file is appended to in
// text mode.
TEST_F(CrashReportTest, AReportAppendsTheFramesAndTheFaultInTextModeBytes) {
  WriteFile("callstack.txt", "earlier run\r\n");
  library_.frames = {
      {0x401000, "Inner", "inner.cpp", 42, 0, {}},
      {0x402000, "Middle", nullptr, 0, 0, {}},
      {0x40ABCD, nullptr, nullptr, 0, 0, {}},
      {0x40F000, nullptr, "outer.cpp", 7, 0, {}},
  };
  EXPECT_EQ(Report(), "earlier run\r\n" + kSeparatorBytes +
                          "\r\r\nCall stack:\r\r\n"
                          "Inner (inner.cpp, line 42)\r\r\n\r\r\n"
                          "Middle\r\r\n\r\r\n"
                          "40ABCD\r\r\n\r\r\n"
                          "40F000 (outer.cpp, line 7)\r\r\n\r\r\n" +
                          kSeparatorBytes +
                          "Exception occured at: Inner\r\n"
                          "inner.cpp, line 42\r\n");
  // Every frame's scope is selected for its variables, with or without a symbol.
  EXPECT_EQ(library_.contextPcs, (std::vector<DWORD64>{0x401000, 0x402000, 0x40ABCD, 0x40F000}));
}

// Every kind of value in its form; one that cannot be read costs an error line, and the next one
// follows: nothing mapped (0x100), a no-access page, a guard page. A text that runs into a
// no-access page is no text. A parameter held in a register, under a heading of its own, ends the
// frame's listing: its value at that frame is not known. (Where frame-relative variables lie, the
// system tests show on both targets, with the real library.)
TEST_F(CrashReportTest, EachKindOfValueHasItsFormAndAnUnreadableOneItsErrorLine) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const DWORD page = system.dwPageSize;
  auto* pages = static_cast<char*>(VirtualAlloc(nullptr, 3 * page, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  char* const hidden = pages + page;
  char* const guarded = pages + 2 * page;
  std::memcpy(hidden, "hidden", 7);
  std::memcpy(guarded, "guarded", 8);
  char* const runsOn = hidden - 4;  // "text" up to the no-access page
  std::memcpy(runsOn, "text", 4);
  DWORD previous = 0;
  ASSERT_TRUE(VirtualProtect(hidden, page, PAGE_NOACCESS, &previous));
  ASSERT_TRUE(VirtualProtect(guarded, page, PAGE_READWRITE | PAGE_GUARD, &previous));
  char runsOnAddress[32];
  std::snprintf(runsOnAddress, sizeof runsOnAddress, "%llX",
                static_cast<unsigned long long>(Address(runsOn)));

  int five = 5, sixtyFive = 65;
  char hi[3] = "hi", controls[3] = {1, 2, 0};
  const char *abc = "abc", *low = reinterpret_cast<const char*>(0x10), *empty = "";
  int three[3] = {1, 2, 3}, twenty[20];
  for (int i = 0; i < 20; ++i) twenty[i] = i + 1;
  float ratio = 1.5f;
  int point[2] = {1, 2};
  char emptyAddress[32];
  std::snprintf(emptyAddress, sizeof emptyAddress, "%llX",
                static_cast<unsigned long long>(Address(empty)));
  EXPECT_EQ(ListFrame({{"i", 0, Address(&five), kInt},
                       {"j", 0, Address(&sixtyFive), kInt},
                       {"hi", 0, Address(hi), kCharArray3},
                       {"controls", 0, Address(controls), kCharArray3},
                       {"p", 0, Address(&abc), kCharPointer},
                       {"low", 0, Address(&low), kCharPointer},
                       {"empty", 0, Address(&empty), kCharPointer},
                       {"bad", 0, 0x100, kInt},
                       {"badPoint", 0, 0x100, kPoint},
                       {"noAccess", 0, Address(hidden), kInt},
                       {"guard", 0, Address(guarded), kCharArray3},
                       {"runsOn", 0, Address(&runsOn), kCharPointer},
                       {"three", 0, Address(three), kIntArray3},
                       {"twenty", 0, Address(twenty), kIntArray20},
                       {"ratio", 0, Address(&ratio), kFloat},
                       {"point", 0, Address(point), kPoint},
                       {"held", kInRegister, 0, kInt},
                       {"never", 0, Address(&five), kInt}}),
            std::string("  locals:\r\n"
                        "    i = 5\r\n"
                        "    j = 41 ('A')\r\n"  // hex, with the character of printable values
                        "    hi = \"hi\"\r\n"
                        "    controls = { 1, 2, 0 }\r\n"
                        "    p = \"abc\"\r\n"
                        "    low = 10\r\n"
                        "    empty = ") +
                emptyAddress +
                "\r\n"
                "    bad = \r\nError reading symbol bad!\r\n"
                "    badPoint Point \r\n      x = \r\nError reading symbol badPoint!\r\n"
                "    noAccess = \r\nError reading symbol noAccess!\r\n"
                "    guard = { \r\nError reading symbol guard!\r\n"
                "    runsOn = " +
                runsOnAddress +
                "\r\n"
                "    three = { 1, 2, 3 }\r\n"
                "    twenty = { 1, 2, 3, 4, 5, 6, 7, 8, 9, A }\r\n"  // ten elements at most
                "    ratio = 1.500000\r\n"
                "    point Point \r\n      x = 1\r\n      y = 2\r\n"  // no method
                "  params:\r\n    held \r\n");
  VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(CrashReportTest, ATypeWithMoreMembersThanTheListHoldsIsCut) {
  int value = 9;
  std::string members;
  for (int i = 0; i < 256; ++i) members += "      m = 9\r\n";
  EXPECT_EQ(ListFrame({{"wide", 0, Address(&value), kWide}}),
            "  locals:\r\n    wide Wide \r\n" + members + "\r\n");
}

}  // namespace
