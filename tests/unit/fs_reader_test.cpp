// The package file reader over stand-ins of the file-system library (reader_doubles.h), which fail
// where the real library cannot be made to, and the parser's loader on top of it.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "file.h"
#include "reader_doubles.h"
#include "zk_parse.h"

namespace {

using Calls = std::vector<std::string>;
using doubles::state;

class FileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state = doubles::FileSystem();
    state.files["a.ini"] = "0123456789";
  }
};

// The code of the exception that body throws on a fresh reader, or -1.
template <typename Body>
int ThrownCode(Body body) {
  try {
    fs::file reader;
    body(reader);
  } catch (const fs::file_exception& failure) {
    return failure.code;
  }
  return -1;
}

TEST_F(FileReaderTest, PassesCallsThroughAndClosesOnce) {
  {
    fs::file reader;
    reader.open("a.ini", 0);
    EXPECT_EQ(reader.length(), 10);
    char buffer[16] = {};
    EXPECT_EQ(reader.read(buffer, 16), 10);  // a short count comes back without complaint
    reader.close();
    EXPECT_EQ(reader.handle, nullptr);
    reader.close();
  }
  { fs::file().open("a.ini", 0); }  // the destructor closes
  EXPECT_EQ(state.calls, (Calls{"FS_open(a.ini, 0)", "FS_length(#1)", "FS_read(#1, 16)",
                                "FS_close(#1)", "FS_open(a.ini, 0)", "FS_close(#2)"}));
  EXPECT_EQ(state.console, "");
}

// Open (code 0), length (3) and read (1) failures; what was opened is closed, nothing else.
TEST_F(FileReaderTest, EachFailureThrowsItsCodeAndTheFileIsClosed) {
  EXPECT_EQ(ThrownCode([](fs::file& r) { r.open("missing.ini", 0); }), 0);
  EXPECT_EQ(state.console, "WARNING [file] cannot open file missing.ini\n");
  EXPECT_EQ(ThrownCode([](fs::file& r) { r.open("a.ini", 3); }), 0);  // the mode passes through
  state.failLength = state.failRead = true;
  EXPECT_EQ(ThrownCode([](fs::file& r) { r.open("a.ini", 0), r.length(); }), 3);
  char byte;
  EXPECT_EQ(ThrownCode([&byte](fs::file& r) { r.open("a.ini", 0), r.read(&byte, 1); }), 1);
  EXPECT_EQ(state.calls, (Calls{"FS_open(missing.ini, 0)", "FS_open(a.ini, 3)", "FS_open(a.ini, 0)",
                                "FS_length(#1)", "FS_close(#1)", "FS_open(a.ini, 0)",
                                "FS_read(#2, 1)", "FS_close(#2)"}));
}

// Lengths that an int cannot hold or that no file has. Where a long is wider than an int (64-bit
// Linux) the library can report a file of 4 GiB or more; on Windows its long has 32 bits, and it
// answers -1 for such a file itself.
std::vector<long> UnusableLengths() {
  std::vector<long> lengths = {-2, LONG_MIN};
#if LONG_MAX > INT_MAX
  lengths.push_back(long{INT_MAX} + 1);
  lengths.push_back(4294967307L);  // 4 GiB and 11 bytes: cut to 32 bits, 11
#endif
  return lengths;
}

TEST_F(FileReaderTest, LengthsAndCountsAnIntCannotHoldAreFailures) {
  for (const long length : UnusableLengths()) {
    SCOPED_TRACE(length);
    state.lengths["a.ini"] = length;
    EXPECT_EQ(ThrownCode([](fs::file& r) { r.open("a.ini", 0), r.length(); }), 3);
  }
  // A count beyond the size asked for: the library cannot have put more into the buffer.
  state.readSurplus = 1;
  char buffer[4];
  EXPECT_EQ(ThrownCode([&buffer](fs::file& r) { r.open("a.ini", 0), r.read(buffer, 4); }), 1);
  EXPECT_EQ(state.calls.back().substr(0, 9), "FS_close(");
  EXPECT_EQ(state.console, "");
}

// A file too long for the reader takes the way of any unreadable file: the loader's warning with
// its name, no text, and not one byte of it read.
TEST_F(FileReaderTest, LoaderRefusesAFileTooLongToHoldWithoutReadingAnyOfIt) {
  state.files["big.ini"] = "!a(i) a(1) ";
  int handle = 0;
  for (const long length : UnusableLengths()) {
    SCOPED_TRACE(length);
    state.calls.clear();
    state.console.clear();
    state.lengths["big.ini"] = length;
    ParseOutcome outcome = ParseOutcome::kParsed;
    EXPECT_EQ(ParseScriptFile("big.ini", nullptr, nullptr, nullptr, &outcome), nullptr);
    EXPECT_EQ(outcome, ParseOutcome::kUnreadable);
    const std::string number = "#" + std::to_string(++handle);
    EXPECT_EQ(state.calls, (Calls{"FS_open(big.ini, 0)", "FS_length(" + number + ")",
                                  "FS_close(" + number + ")"}));
    EXPECT_EQ(state.console, "WARNING [CZKParse] cannot open big.ini\n");
  }
  EXPECT_EQ(state.log, "");
}

TEST_F(FileReaderTest, LoaderReadsTheWholeFileInOneCall) {
  const CZKParse parser("a.ini");
  EXPECT_EQ(std::string(parser.text, parser.length), "0123456789");
  EXPECT_EQ(state.calls,
            (Calls{"FS_open(a.ini, 0)", "FS_length(#1)", "FS_read(#1, 10)", "FS_close(#1)"}));
}

TEST_F(FileReaderTest, LoaderWarnsAndKeepsNoText) {
  const CZKParse missing("missing.ini");
  EXPECT_EQ(missing.text, nullptr);
  EXPECT_EQ(state.console,
            "WARNING [file] cannot open file missing.ini\n"
            "WARNING [CZKParse] cannot open missing.ini\n");
  for (const bool length : {true, false}) {
    state.console.clear();
    state.failLength = length;
    state.failRead = !length;
    const CZKParse parser("a.ini");
    EXPECT_EQ(parser.text, nullptr);
    EXPECT_EQ(parser.length, 0u);
    EXPECT_EQ(state.console, "WARNING [CZKParse] cannot open a.ini\n");
    EXPECT_EQ(state.calls.back().substr(0, 9), "FS_close(");
  }
  EXPECT_EQ(state.log, "");
}

}  // namespace
