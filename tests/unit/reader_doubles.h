// Stand-ins for the file-system library's file functions and for the log, linked into
// fs_reader_tests instead of the real ones. The one file is "a.ini", of 10 bytes; length and read
// answer what a test asks for, the calls are counted, and every text printed is kept.
#pragma once

#include <optional>
#include <string>

namespace doubles {

struct FileSystem {
  // What FS_length and FS_read answer instead of the truth: failures, or a length or count that
  // no file could give (one beyond an int, without such a file on disk). FS_read still copies
  // what it has.
  std::optional<long> length, readCount;
  int opened = 0, reads = 0, closed = 0;
  std::string console;  // what ConsolePrint printed
  std::string log;      // what LogPrint printed
};

extern FileSystem state;

}  // namespace doubles
