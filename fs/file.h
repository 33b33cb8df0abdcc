// The one place where the program opens a file of the file-system library. A reader owns at most
// one open file and closes it when it goes out of scope, also while an exception passes; every
// failure result of the library becomes an fs::file_exception.
#pragma once

#include <cstdint>

#include "filesystem_api.h"

namespace fs {

// The reader's names are the standard library's style, as the whole program has always known
// them (fs::file, open, length, read, close): kept outside our naming rule.
// NOLINTBEGIN(readability-identifier-naming)

// Says which operation failed; it carries no text, because the only diagnostic is the warning
// that open prints. Thrown by value, caught by reference.
class file_exception {
 public:
  // The codes are fixed; 2 is not used by this reader.
  enum : std::int32_t { kOpen = 0, kRead = 1, kLength = 3 };

  explicit file_exception(std::int32_t failure) : code(failure) {}

  std::int32_t code;
};
static_assert(sizeof(file_exception) == 4, "thrown as a plain copy of its one field");

class file {
 public:
  file() : handle(nullptr) {}
  ~file() { close(); }

  // The reader is the handle's only owner: a copy would close it twice.
  file(const file&) = delete;
  file& operator=(const file&) = delete;

  // Opens name in the given mode (the library's; the program always passes 0). Called on a reader
  // that holds no file. Prints a warning and throws code 0 when the library refuses.
  void open(const char* name, int mode);

  // The file's length in bytes; throws code 3 when the library answers -1, or a length that an
  // int cannot hold.
  int length();

  // Reads up to size bytes into buffer and returns the library's count unchanged, a short one
  // included; throws code 1 when the library answers -1, or a count that is negative or larger
  // than size.
  int read(void* buffer, int size);

  // Closes the file if one is open; any further call does nothing.
  void close();

  // What FS_open returned; null while no file is open.
  FS_HANDLE handle;
};

// NOLINTEND(readability-identifier-naming)

}  // namespace fs
