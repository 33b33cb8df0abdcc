#include "command_words.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool EndsWord(char c) {
  return c == '\0' || IsBlank(c);
}

}  // namespace

const char* FindWordValue(const char* commandLine, const char* prefix) {
  if (commandLine == nullptr) return nullptr;
  for (const char* at = commandLine; *at != '\0'; ++at) {
    if (at != commandLine && !IsBlank(at[-1])) continue;
    const char* text = at;
    const char* wanted = prefix;
    while (*wanted != '\0' && *text == *wanted) {
      ++text;
      ++wanted;
    }
    if (*wanted == '\0') return text;
  }
  return nullptr;
}

bool ValueIs(const char* value, const char* word) {
  if (value == nullptr) return false;
  while (*word != '\0' && *value == *word) {
    ++value;
    ++word;
  }
  return *word == '\0' && EndsWord(*value);
}

int ValueNumber(const char* value, int fallback) {
  if (value == nullptr) return fallback;
  const bool negative = *value == '-';
  if (negative) ++value;
  if (EndsWord(*value)) return fallback;
  unsigned int number = 0;
  for (; !EndsWord(*value); ++value) {
    if (*value < '0' || *value > '9') return fallback;
    number = number * 10 + static_cast<unsigned int>(*value - '0');
  }
  return static_cast<int>(negative ? 0u - number : number);
}
