// The launcher's settings: three names the engine's script layer needs, each with a default that
// the settings file ("game.ini", or the file a command-line word "ini=NAME" names) can override.
// Portable: the executable's path comes in from the caller.
#pragma once

#include "filesystem_api.h"

// The three values the engine's script layer needs, each at most FS_MAX_PATH characters, the
// longest name the program handles.
struct GameSettings {
  char JavaGameClassName[FS_MAX_PATH + 1];
  char JavaClasses[FS_MAX_PATH + 1];
  char JavaClassesPacked[FS_MAX_PATH + 1];
};

// The longest executable path the settings look at (with its zero): the path shares one 1024-byte
// store with the command line's words, and this keeps most of the store for the words.
constexpr unsigned kExecutablePathLimit = 256;

// Splits the command line into words (at spaces and tabs; quotes are ordinary characters), with
// the executable's path as the first, looked at like every other. The settings file is the text
// after "ini=" of the last word beginning so (case-sensitive), else "game.ini"; it is read through
// the parser, and without it, or when it cannot be parsed, the defaults "TestGame", "Java" and
// "code" stay. Of the top-level calls of JavaGameClassName, JavaClasses and JavaClassesPacked (any
// case) only a string first argument is taken, the last call winning; values are cut to
// FS_MAX_PATH characters. Words beyond 64 (with the path), or beyond the 1024-byte store, are
// dropped together with all words after them.
GameSettings ReadGameSettings(const char* commandLine, const char* executablePath);
