// The package file reader over stand-ins of the file-system library (reader_doubles.h), which fail
// where the real library cannot be made to, and the parser's loader on top of it.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "reader_doubles.h"
#include "zk_parse.h"

namespace {

using doubles::state;

// What the library may answer that the reader must take for a failure, and whether the file was
// read: a read of -1, or of 11 bytes, more than "a.ini" has or is asked for; a length of -1, or
// one that no file has or an int cannot hold (read: no). Where a long is wider than an int (64-bit
// Linux) the library can report a file of 4 GiB or more; on Windows its long has 32 bits, and it
// answers -1 for such a file itself.
struct Failure {
  std::optional<long> length, count;
  bool read;
};
std::vector<Failure> Failures() {
  std::vector<Failure> failures = {
      {{}, -1, true}, {{}, 11, true}, {-1, {}, false}, {-2, {}, false}, {LONG_MIN, {}, false}};
#if LONG_MAX > INT_MAX
  failures.push_back({long{INT_MAX} + 1, {}, false});
  failures.push_back({4294967307L, {}, false});  // 4 GiB and 11 bytes: cut to 32 bits, 11
#endif
  return failures;
}

// Whatever failed, the loader warns on the console, logs nothing and has no text, and the file it
// opened is closed on the way out; a file too long to hold is not read at all.
TEST(FileReaderTest, AFailureOfTheLibraryIsAWarningAndNoText) {
  for (const auto& [length, count, read] : Failures()) {
    SCOPED_TRACE(testing::Message() << length.value_or(0) << " " << count.value_or(0));
    state = doubles::FileSystem();
    state.length = length;
    state.readCount = count;
    ParseOutcome outcome = ParseOutcome::kParsed;
    EXPECT_EQ(ParseScriptFile("a.ini", nullptr, nullptr, nullptr, &outcome), nullptr);
    EXPECT_EQ(outcome, ParseOutcome::kUnreadable);
    EXPECT_EQ(state.console, "WARNING [CZKParse] cannot open a.ini\n");
    EXPECT_EQ(state.reads, read ? 1 : 0);
    EXPECT_EQ(state.opened, 1);
    EXPECT_EQ(state.closed, 1);
    EXPECT_EQ(state.log, "");
  }
}

}  // namespace
