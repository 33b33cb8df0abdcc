// Stand-ins for the file-system library's file functions and for the log, linked into
// fs_reader_tests instead of the real ones. The one file is "a.ini"; length and read answer what a
// test asks for, and every call and every text printed is recorded.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace doubles {

struct FileSystem {
  std::string bytes = "0123456789";  // those of "a.ini"
  // What FS_length and FS_read answer instead of the truth: failures, or a length or count that
  // no file could give (one beyond an int, without such a file on disk). FS_read still copies
  // what it has.
  std::optional<long> length, readCount;
  // "FS_open(name, mode)", "FS_length(#1)", "FS_read(#1, count)", "FS_close(#1)", in order;
  // handles are numbered from 1.
  std::vector<std::string> calls;
  int opened = 0;
  std::string console;  // what ConsolePrint printed
  std::string log;      // what LogPrint printed
};

extern FileSystem state;

}  // namespace doubles
