#include "options.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::int64_t kInt32Min = INT32_MIN;
constexpr std::int64_t kInt32Max = INT32_MAX;
constexpr std::int64_t kUint32Max = UINT32_MAX;
constexpr std::int64_t kInt64Max = INT64_MAX;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text after "name=" when the word starts with it.
std::optional<std::string> ValueOf(const std::string& word, const char* name) {
  const std::size_t length = std::strlen(name);
  if (word.size() <= length || word.compare(0, length, name) != 0 || word[length] != '=') {
    return std::nullopt;
  }
  return word.substr(length + 1);
}

// Each kind's name, as the command line gives it and the trace shows it: one table per kind
// serves both ways.
template <typename Kind>
struct NamedKind {
  Kind kind;
  const char* name;
};

constexpr NamedKind<ThrowKind> kThrowKinds[] = {
    {ThrowKind::kEngine, "engine"},
    {ThrowKind::kOther, "other"},
};
constexpr NamedKind<ThrowSite> kThrowSites[] = {
    {ThrowSite::kInit, "init"}, {ThrowSite::kIdle, "idle"}, {ThrowSite::kWindow, "window"}};
constexpr NamedKind<FaultKind> kFaultKinds[] = {
    {FaultKind::kAccess, "access"},     {FaultKind::kBreakpoint, "breakpoint"},
    {FaultKind::kDivide, "divide"},     {FaultKind::kIllegal, "illegal"},
    {FaultKind::kOverflow, "overflow"},
};

// Sets kind to the one name names; an unknown name leaves it as it was.
template <typename Kind, std::size_t kCount>
void SetNamedKind(const NamedKind<Kind> (&table)[kCount], const std::string& name, Kind& kind) {
  for (const NamedKind<Kind>& entry : table) {
    if (name == entry.name) kind = entry.kind;
  }
}

template <typename Kind, std::size_t kCount>
const char* NameOf(const NamedKind<Kind> (&table)[kCount], Kind kind) {
  for (const NamedKind<Kind>& entry : table) {
    if (entry.kind == kind) return entry.name;
  }
  return "none";
}

}  // namespace

std::vector<std::string> SplitWords(const char* commandLine) {
  std::vector<std::string> words;
  if (!commandLine) return words;

  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (const char* c = commandLine; *c; ++c) {
    if (*c == '"') {
      quoted = !quoted;
      inWord = true;  // "" is an empty word, not nothing
    } else if (IsBlank(*c) && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += *c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

std::optional<std::int64_t> ParseNumber(const std::string& text, std::int64_t minimum,
                                        std::int64_t maximum) {
  const char* digits = text.c_str();
  bool negative = false;
  if (*digits == '-') {
    negative = true;
    ++digits;
  }
  int base = 10;
  if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits += 2;
  }
  // strtoull would accept its own blanks and signs; only bare digits are a number here.
  const char* validDigits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (*digits == '\0' || std::strspn(digits, validDigits) != std::strlen(digits)) {
    return std::nullopt;
  }

  errno = 0;
  const unsigned long long magnitude = std::strtoull(digits, nullptr, base);
  if (errno == ERANGE || magnitude > static_cast<unsigned long long>(kInt64Max)) {
    return std::nullopt;
  }
  const std::int64_t value =
      negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

GameOptions ParseGameOptions(const char* commandLine) {
  GameOptions options;
  for (const std::string& word : SplitWords(commandLine)) {
    if (word == "-no-window") {
      options.noWindow = true;
    } else if (word == "-fault-on-thread") {
      options.faultOnThread = true;
    } else if (auto value = ValueOf(word, "-quit-after")) {
      if (auto n = ParseNumber(*value, 0, kInt64Max)) options.quitAfterCalls = *n;
    } else if (auto value = ValueOf(word, "-quit-after-ms")) {
      if (auto n = ParseNumber(*value, 0, kInt64Max)) options.quitAfterMs = *n;
    } else if (auto value = ValueOf(word, "-quit-after-frames")) {
      if (auto n = ParseNumber(*value, 1, kInt64Max)) options.quitAfterFrames = *n;
    } else if (auto value = ValueOf(word, "-quit-code")) {
      // Any 32-bit value: -1 and 0xFFFFFFFF are the same code.
      if (auto n = ParseNumber(*value, kInt32Min, kUint32Max)) {
        options.quitCode = static_cast<std::uint32_t>(*n);
      }
    } else if (auto value = ValueOf(word, "-init-result")) {
      if (auto n = ParseNumber(*value, kInt32Min, kUint32Max)) {
        options.initResult = static_cast<std::int32_t>(static_cast<std::uint32_t>(*n));
      }
    } else if (auto value = ValueOf(word, "-throw")) {
      SetNamedKind(kThrowKinds, *value, options.throwKind);
    } else if (auto value = ValueOf(word, "-throw-from")) {
      SetNamedKind(kThrowSites, *value, options.throwSite);
    } else if (auto value = ValueOf(word, "-fault")) {
      SetNamedKind(kFaultKinds, *value, options.fault);
    } else if (auto value = ValueOf(word, "-fault-depth")) {
      if (auto n = ParseNumber(*value, 0, kInt32Max)) {
        options.faultDepth = static_cast<std::uint32_t>(*n);
      }
    } else if (auto value = ValueOf(word, "-screenshot")) {
      options.screenshotFile = *value;
    }
  }
  return options;
}

std::optional<std::int32_t> FindEngineVersionOverride(const char* commandLine) {
  std::optional<std::int32_t> version;
  for (const std::string& word : SplitWords(commandLine)) {
    if (auto value = ValueOf(word, "-engine-version")) {
      if (auto n = ParseNumber(*value, kInt32Min, kUint32Max)) {
        version = static_cast<std::int32_t>(static_cast<std::uint32_t>(*n));
      }
    }
  }
  return version;
}

bool AsksForNoGame(const char* commandLine) {
  for (const std::string& word : SplitWords(commandLine)) {
    if (word == "-no-game") return true;
  }
  return false;
}

const char* ThrowKindName(ThrowKind kind) {
  return NameOf(kThrowKinds, kind);
}

const char* FaultKindName(FaultKind kind) {
  return NameOf(kFaultKinds, kind);
}
