// Reading words of a command line, without the C runtime (this engine links none).
#pragma once

// The text right after the word that begins with prefix (a word starts the line or follows a
// blank), or nullptr when no word does.
const char* FindWordValue(const char* commandLine, const char* prefix);

// Whether the value found by FindWordValue is exactly word (up to the next blank or the end).
bool ValueIs(const char* value, const char* word);

// A decimal number with an optional leading '-', up to the next blank; fallback when there is none.
int ValueNumber(const char* value, int fallback);
