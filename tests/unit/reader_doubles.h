// Stand-ins for the file-system library's file functions and for the log, linked into
// fs_reader_tests instead of the real ones: the files are those a test puts into `files`, length
// and read fail on request, and every call and every text printed is recorded.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace doubles {

struct FileSystem {
  std::map<std::string, std::string> files;
  bool failLength = false;  // FS_length answers -1
  bool failRead = false;    // FS_read answers -1
  // FS_length answers this instead of the size of the file so named: a length no file could have
  // or none that fits in an int, without such a file on disk.
  std::map<std::string, long> lengths;
  long readSurplus = 0;  // FS_read claims this many bytes more than it copied
  // "FS_open(name, mode)", "FS_length(#1)", "FS_read(#1, count)", "FS_close(#1)", in order;
  // handles are numbered from 1.
  std::vector<std::string> calls;
  std::vector<std::string> opened;  // the name of handle n at n - 1
  std::string console;              // what ConsolePrint printed
  std::string log;                  // what LogPrint printed
};

extern FileSystem state;

}  // namespace doubles
