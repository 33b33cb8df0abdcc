#include "text_case.h"

namespace {

// Not std::tolower: its answer for bytes of 128 and more depends on the locale.
int Lower(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
}

}  // namespace

int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const int left = Lower(static_cast<unsigned char>(*a));
    const int right = Lower(static_cast<unsigned char>(*b));
    if (left != right || left == 0) return left - right;
  }
}

char* LowerCase(char* text) {
  for (char* byte = text; *byte != '\0'; ++byte) {
    *byte = static_cast<char>(Lower(static_cast<unsigned char>(*byte)));
  }
  return text;
}
