#include "text_case.h"

int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const int left = static_cast<unsigned char>(LowerAscii(*a));
    const int right = static_cast<unsigned char>(LowerAscii(*b));
    if (left != right || left == 0) return left - right;
  }
}

char* LowerCase(char* text) {
  for (char* byte = text; *byte != '\0'; ++byte) {
    *byte = LowerAscii(*byte);
  }
  return text;
}
