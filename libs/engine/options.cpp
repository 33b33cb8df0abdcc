#include "options.h"

#include <cerrno>
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
    } else if (auto value = ValueOf(word, "-quit-after")) {
      if (auto n = ParseNumber(*value, 0, kInt64Max)) options.quitAfterCalls = *n;
    } else if (auto value = ValueOf(word, "-quit-after-ms")) {
      if (auto n = ParseNumber(*value, 0, kInt64Max)) options.quitAfterMs = *n;
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
      if (*value == "engine") options.throwKind = ThrowKind::kEngine;
      if (*value == "other") options.throwKind = ThrowKind::kOther;
      if (*value == "msvc-engine") options.throwKind = ThrowKind::kMsvcEngine;
      if (*value == "msvc-other") options.throwKind = ThrowKind::kMsvcOther;
      if (*value == "msvc-damaged") options.throwKind = ThrowKind::kMsvcDamaged;
      if (*value == "msvc-caught") options.throwKind = ThrowKind::kMsvcCaught;
    } else if (auto value = ValueOf(word, "-throw-from")) {
      if (*value == "init") options.throwSite = ThrowSite::kInit;
      if (*value == "idle") options.throwSite = ThrowSite::kIdle;
      if (*value == "window") options.throwSite = ThrowSite::kWindow;
    } else if (auto value = ValueOf(word, "-fault")) {
      if (*value == "access") options.fault = FaultKind::kAccess;
      if (*value == "breakpoint") options.fault = FaultKind::kBreakpoint;
      if (*value == "divide") options.fault = FaultKind::kDivide;
      if (*value == "illegal") options.fault = FaultKind::kIllegal;
      if (*value == "overflow") options.fault = FaultKind::kOverflow;
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

const char* ThrowKindName(ThrowKind kind) {
  switch (kind) {
    case ThrowKind::kEngine:
      return "engine";
    case ThrowKind::kOther:
      return "other";
    case ThrowKind::kMsvcEngine:
      return "msvc-engine";
    case ThrowKind::kMsvcOther:
      return "msvc-other";
    case ThrowKind::kMsvcDamaged:
      return "msvc-damaged";
    case ThrowKind::kMsvcCaught:
      return "msvc-caught";
    case ThrowKind::kNone:
      break;
  }
  return "none";
}

const char* FaultKindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::kAccess:
      return "access";
    case FaultKind::kBreakpoint:
      return "breakpoint";
    case FaultKind::kDivide:
      return "divide";
    case FaultKind::kIllegal:
      return "illegal";
    case FaultKind::kOverflow:
      return "overflow";
    case FaultKind::kNone:
      break;
  }
  return "none";
}
