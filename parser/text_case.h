// Case folding as the script language needs it, the same on every platform: only the ASCII
// letters A-Z and a-z are folded, as the Windows runtime's _strlwr and _strcmpi do in the "C"
// locale. Bytes of 128 and more are never letters.
#pragma once

// One byte lower-cased. Not std::tolower: its answer for bytes of 128 and more depends on the
// locale.
inline char LowerAscii(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// Compares two zero-terminated texts without regard to the case of ASCII letters, like _strcmpi
// (the launcher's settings keys are matched so):
// 0 when equal, otherwise negative or positive as the first differing byte (lower-cased) orders.
int CompareNoCase(const char* a, const char* b);

// Lower-cases the ASCII letters of text in place and returns text, like _strlwr.
char* LowerCase(char* text);
