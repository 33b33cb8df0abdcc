#include "game_settings.h"

#include <cstring>

GameSettings ReadGameSettings(const char* /*commandLine*/, void* /*module*/) {
  GameSettings settings;
  std::strcpy(settings.JavaGameClassName, "TestGame");
  std::strcpy(settings.JavaClasses, "Java");
  std::strcpy(settings.JavaClassesPacked, "code");
  return settings;
}
