// The package file reader over stand-ins of the file-system library (reader_doubles.h), which fail
// where the real library cannot be made to, and the parser's loader on top of it.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "file.h"
#include "reader_doubles.h"
#include "zk_parse.h"

namespace {

using Calls = std::vector<std::string>;
using doubles::state;

// A fresh library whose length and read answer as given, else truly.
void Fresh(std::optional<long> length = {}, std::optional<long> count = {}) {
  state = doubles::FileSystem();
  state.length = length;
  state.readCount = count;
}

// What the library may answer that the reader must take for a failure, and the code it throws:
// a read of -1, or of 11 bytes, more than "a.ini" has or is asked for (1); a length of -1, or one
// that no file has or an int cannot hold (3). Where a long is wider than an int (64-bit Linux)
// the library can report a file of 4 GiB or more; on Windows its long has 32 bits, and it answers
// -1 for such a file itself.
struct Failure {
  std::optional<long> length, count;
  int code;
};
std::vector<Failure> Failures() {
  std::vector<Failure> failures = {
      {{}, -1, 1}, {{}, 11, 1}, {-1, {}, 3}, {-2, {}, 3}, {LONG_MIN, {}, 3}};
#if LONG_MAX > INT_MAX
  failures.push_back({long{INT_MAX} + 1, {}, 3});
  failures.push_back({4294967307L, {}, 3});  // 4 GiB and 11 bytes: cut to 32 bits, 11
#endif
  return failures;
}

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

// Each failure throws its code, and a file that was opened is closed on the way out. Whatever
// failed, the loader warns and has no text; a file too long to hold takes that way without one
// byte of it read.
TEST(FileReaderTest, EachFailureThrowsItsCodeAndTheLoaderWarnsAndKeepsNoText) {
  Fresh();
  EXPECT_EQ(ThrownCode([](fs::file& r) { r.open("a.ini", 3); }), 0);  // the mode passes through
  const CZKParse missing("missing.ini");
  EXPECT_EQ(missing.lexer.text, nullptr);
  EXPECT_EQ(state.calls, (Calls{"FS_open(a.ini, 3)", "FS_open(missing.ini, 0)"}));
  EXPECT_EQ(state.console,
            "WARNING [file] cannot open file a.ini\n"
            "WARNING [file] cannot open file missing.ini\n"
            "WARNING [CZKParse] cannot open missing.ini\n");
  for (const auto& [length, count, code] : Failures()) {
    SCOPED_TRACE(testing::Message() << length.value_or(0) << " " << count.value_or(0));
    Fresh(length, count);
    char buffer[16];
    EXPECT_EQ(ThrownCode([&](fs::file& r) { r.open("a.ini", 0), r.length(), r.read(buffer, 10); }),
              code);
    EXPECT_EQ(state.calls.back(), "FS_close(#1)");

    Fresh(length, count);
    ParseOutcome outcome = ParseOutcome::kParsed;
    EXPECT_EQ(ParseScriptFile("a.ini", nullptr, nullptr, nullptr, &outcome), nullptr);
    EXPECT_EQ(outcome, ParseOutcome::kUnreadable);
    EXPECT_EQ(state.console, "WARNING [CZKParse] cannot open a.ini\n");
    EXPECT_EQ(state.calls.size(), code == 3 ? 3u : 4u) << "open, length, (read,) close";
    EXPECT_EQ(state.calls.back(), "FS_close(#1)");
    EXPECT_EQ(state.log, "");
  }
}

}  // namespace
