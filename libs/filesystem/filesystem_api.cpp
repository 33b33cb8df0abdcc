// The exported functions of filesystem.dll: argument checks, the library's state, and the trace.
//
// Trace: every call writes exactly one line through TraceLine (libs/trace), after the call has
// done its work, so that the line can show the result. Names appear in double quotes as given
// (a null name shows as "(null)"); handles appear as #number, a null handle as null:
//
//   FS_init()
//   FS_add_source("data0.pak", 1, 0, 0)
//   FS_exists("debug.fnt") = 0
//   FS_path_normalize("a/../b.ini") = "b.ini"
//   FS_open("game.ini", 0) = #3            or  FS_open("missing.ini", 0) = null
//   FS_length(#3) = 120
//   FS_read(#3, 120) = 120                 (handle, count asked for, result)
//   FS_close(#3)
//   FS_shutdown()
//
// Every function is safe to call before FS_init and after FS_shutdown: it then gets the failure
// result (FS_path_normalize works on text only and always works).

#include "filesystem_api.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "handle_table.h"
#include "path_normalize.h"
#include "source_table.h"
#include "trace.h"

namespace {

using vfs::HandleTable;
using vfs::MakeLookupName;
using vfs::NormalizePath;
using vfs::OpenFile;
using vfs::SourceTable;

struct Library {
  bool running = false;
  SourceTable sources;
  HandleTable files;
};

Library& State() {
  static Library library;
  return library;
}

std::uintptr_t HandleNumber(FS_HANDLE file) {
  return reinterpret_cast<std::uintptr_t>(file);
}

std::string HandleText(FS_HANDLE file) {
  return file ? "#" + std::to_string(HandleNumber(file)) : "null";
}

OpenFile* FindFile(FS_HANDLE file) {
  Library& library = State();
  return library.running ? library.files.Find(HandleNumber(file)) : nullptr;
}

// No exception of the library's own may leave a C function: running out of memory gives the
// failure result. A fault in the library that the caller's translator turns into an exception
// (a name at an unreadable address, say) is the caller's, and passes through.
template <typename Result, typename Body>
Result Guarded(Result failure, Body body) {
  try {
    return body();
  } catch (const std::exception&) {
    return failure;
  }
}

}  // namespace

extern "C" {

FS_API int FS_init(void) {
  // A second FS_init keeps the sources and open files of the first.
  State().running = true;
  TraceLine("FS_init()");
  return 1;
}

FS_API int FS_add_source(const char* name, int flag, int reserved1, int reserved2) {
  int result = Guarded(0, [&] {
    Library& library = State();
    if (!library.running || !name || name[0] == '\0') return 0;
    if (std::strlen(name) > FS_MAX_PATH) return 0;
    return library.sources.Add(name) ? 1 : 0;
  });
  TraceLine("FS_add_source(\"%s\", %d, %d, %d)", TraceText(name), flag, reserved1, reserved2);
  return result;
}

FS_API int FS_exists(const char* name) {
  int result = Guarded(0, [&] {
    Library& library = State();
    std::string lookup;
    if (!library.running || !MakeLookupName(name, &lookup)) return 0;
    return library.sources.Exists(lookup) ? 1 : 0;
  });
  TraceLine("FS_exists(\"%s\") = %d", TraceText(name), result);
  return result;
}

FS_API int FS_path_normalize(char* destination, const char* source) {
  int result = -1;
  std::string input;
  try {
    // Copied first: the program passes one buffer as both arguments, and the trace shows it.
    input = TraceText(source);
    if (destination && source) {
      std::string normalized = NormalizePath(input);
      // Normalising the cut text again removes what the cut may leave (a trailing '/', a part cut
      // down to "." or ".."), so that normalising a result never changes it.
      if (normalized.size() > FS_MAX_PATH) {
        normalized = NormalizePath(std::string_view(normalized).substr(0, FS_MAX_PATH));
      }
      std::memcpy(destination, normalized.c_str(), normalized.size() + 1);
      result = static_cast<int>(normalized.size());
    }
  } catch (const std::exception&) {
    result = -1;
  }
  if (result < 0 && destination) destination[0] = '\0';
  TraceLine("FS_path_normalize(\"%s\") = \"%s\"", input.c_str(), TraceText(destination));
  return result;
}

FS_API FS_HANDLE FS_open(const char* name, int mode) {
  FS_HANDLE result = Guarded<FS_HANDLE>(nullptr, [&]() -> FS_HANDLE {
    Library& library = State();
    std::string lookup;
    if (!library.running || mode != 0 || !MakeLookupName(name, &lookup)) return nullptr;
    std::optional<OpenFile> file = library.sources.Open(lookup);
    if (!file) return nullptr;
    return reinterpret_cast<FS_HANDLE>(library.files.Add(std::move(*file)));
  });
  TraceLine("FS_open(\"%s\", %d) = %s", TraceText(name), mode, HandleText(result).c_str());
  return result;
}

FS_API long FS_length(FS_HANDLE file) {
  OpenFile* openFile = FindFile(file);
  // A length that a long cannot carry (over 2 GiB on Windows, where a long has 32 bits) fails:
  // cut to fit, it would have the caller read part of the file as if it were all of it.
  const std::int64_t length = openFile ? openFile->Length() : -1;
  const long result = length <= LONG_MAX ? static_cast<long>(length) : -1;
  TraceLine("FS_length(%s) = %ld", HandleText(file).c_str(), result);
  return result;
}

FS_API long FS_read(FS_HANDLE file, void* buffer, long count) {
  OpenFile* openFile = FindFile(file);
  long result = (openFile && buffer && count >= 0) ? openFile->Read(buffer, count) : -1;
  TraceLine("FS_read(%s, %ld) = %ld", HandleText(file).c_str(), count, result);
  return result;
}

FS_API int FS_close(FS_HANDLE file) {
  Library& library = State();
  int result = (library.running && library.files.Remove(HandleNumber(file))) ? 0 : -1;
  TraceLine("FS_close(%s)", HandleText(file).c_str());
  return result;
}

FS_API int FS_shutdown(void) {
  Library& library = State();
  const int result = library.running ? 1 : 0;
  // Files first: they may share a package's stream, and the package goes with the sources.
  library.files.Clear();
  library.sources.Clear();
  library.running = false;
  TraceLine("FS_shutdown()");
  return result;
}

}  // extern "C"
