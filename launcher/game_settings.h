#pragma once

// The three values the engine's script layer needs, each at most 259 characters.
struct GameSettings {
  char JavaGameClassName[260];
  char JavaClasses[260];
  char JavaClassesPacked[260];
};

// Reads the settings for this start. For now the built-in defaults: "TestGame", "Java", "code".
GameSettings ReadGameSettings(const char* commandLine, void* module);
