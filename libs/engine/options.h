// The words of a command line that choose the demo game's behaviour. See README.md for the list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ThrowKind { kNone, kEngine, kOther };
enum class ThrowSite { kInit, kIdle, kWindow };
enum class FaultKind { kNone, kAccess, kBreakpoint, kDivide, kIllegal, kOverflow };

struct GameOptions {
  std::optional<std::uint64_t> quitAfterCalls;   // -quit-after=N
  std::optional<std::uint64_t> quitAfterMs;      // -quit-after-ms=T
  std::optional<std::uint64_t> quitAfterFrames;  // -quit-after-frames=N
  std::uint32_t quitCode = 0;                    // -quit-code=C
  std::optional<std::int32_t> initResult;        // -init-result=V
  ThrowKind throwKind = ThrowKind::kNone;        // -throw=engine|other
  ThrowSite throwSite = ThrowSite::kIdle;        // -throw-from=init|idle|window
  FaultKind fault = FaultKind::kNone;            // -fault=access|breakpoint|divide|illegal|overflow
  std::uint32_t faultDepth = 0;                  // -fault-depth=N
  bool faultOnThread = false;                    // -fault-on-thread
  bool noWindow = false;                         // -no-window
  std::string screenshotFile;                    // -screenshot=FILE
};

// Splits a command line into words at blanks (spaces, tabs, line breaks). Double quotes group
// blanks into a word and are dropped; backslashes are kept as they are, so Windows paths survive.
std::vector<std::string> SplitWords(const char* commandLine);

// Reads a whole word as a number: decimal with an optional minus sign, or hexadecimal after 0x.
// Nothing when the text is not such a number or lies outside [minimum, maximum].
std::optional<std::int64_t> ParseNumber(const std::string& text, std::int64_t minimum,
                                        std::int64_t maximum);

// The game's options from the command line given to Init. Unknown words, and known words with a
// value that cannot be read, are ignored.
GameOptions ParseGameOptions(const char* commandLine);

// The value of the last "-engine-version=V" word of the command line, if any.
std::optional<std::int32_t> FindEngineVersionOverride(const char* commandLine);

// Whether the command line has the word "-no-game": CreateGame then makes none.
bool AsksForNoGame(const char* commandLine);

// The names the trace lines use.
const char* ThrowKindName(ThrowKind kind);
const char* FaultKindName(FaultKind kind);
