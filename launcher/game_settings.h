// The launcher's settings: three names the engine's script layer needs, each with a default that
// the settings file ("game.ini", or the file a command-line word "ini=NAME" names) can override.
#pragma once

// The three values the engine's script layer needs, each at most 259 characters.
struct GameSettings {
  char JavaGameClassName[260];
  char JavaClasses[260];
  char JavaClassesPacked[260];
};

// The launcher's own split of its command line, kept for the whole run: entry 0 is the
// executable's full path, the others are the command-line words in order, all in one 1024-byte
// store. Words end at a space or tab; quotes are ordinary characters.
constexpr int kMaxArguments = 64;
constexpr int kArgumentStoreSize = 1024;
extern char* ArgTable[kMaxArguments];
extern int ArgCount;

// Fills ArgTable and ArgCount (at least 1). Words beyond the table's 64 entries, or a word that
// would not fit in what is left of the store, are dropped together with all words after them.
void SplitCommandLine(const char* commandLine, void* module);

// Splits the command line, then reads the settings file through the parser; without a file, or
// when it cannot be parsed, the defaults "TestGame", "Java" and "code" stay. Only a string first
// argument of a call is taken; longer values are cut to 259 characters.
GameSettings ReadGameSettings(const char* commandLine, void* module);
