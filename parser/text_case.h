// Case folding as the script language needs it, the same on every platform: only the ASCII
// letters A-Z are folded, as the Windows runtime's _strlwr does in the "C" locale. Bytes of 128
// and more are never letters.
#pragma once

// Lower-cases the ASCII letters of text in place and returns text, like _strlwr.
char* LowerCase(char* text);
