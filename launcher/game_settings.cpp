#include "game_settings.h"

#include <cstring>

#include "text_case.h"
#include "zk_parse.h"

namespace {

constexpr int kMaxArguments = 64;
constexpr std::size_t kArgumentStoreSize = 1024;

// The launcher's own split of its command line, kept for the whole run: entry 0 is the
// executable's path, the others are the command-line words in order, all in one store.
char* ArgTable[kMaxArguments];
int ArgCount;
char argumentStore[kArgumentStoreSize];

bool IsBlank(char byte) {
  return byte == ' ' || byte == '\t';
}

void SplitCommandLine(const char* commandLine, const char* executablePath) {
  std::size_t length = std::strlen(executablePath);
  if (length >= kExecutablePathLimit) length = kExecutablePathLimit - 1;
  std::memcpy(argumentStore, executablePath, length);
  argumentStore[length] = '\0';
  ArgTable[0] = argumentStore;
  ArgCount = 1;
  std::size_t write = length + 1;
  if (commandLine == nullptr) return;

  const char* read = commandLine;
  for (;;) {
    while (IsBlank(*read)) ++read;
    if (*read == '\0') return;
    const char* end = read;
    while (*end != '\0' && !IsBlank(*end)) ++end;
    const std::size_t wordLength = static_cast<std::size_t>(end - read);
    if (ArgCount == kMaxArguments || write + wordLength + 1 > sizeof argumentStore) return;
    std::memcpy(argumentStore + write, read, wordLength);
    argumentStore[write + wordLength] = '\0';
    ArgTable[ArgCount++] = argumentStore + write;
    write += wordLength + 1;
    read = end;
  }
}

// One of the settings' buffers.
using SettingText = char[FS_MAX_PATH + 1];

// Copies text, cut to what fits the buffer.
void SetText(SettingText& buffer, const char* text) {
  std::strncpy(buffer, text, sizeof buffer - 1);
  buffer[sizeof buffer - 1] = '\0';
}

}  // namespace

GameSettings ReadGameSettings(const char* commandLine, const char* executablePath) {
  SplitCommandLine(commandLine, executablePath);
  // Case-sensitive, and the last such word wins; entry 0 is looked at too, as every entry is.
  const char* fileName = "game.ini";
  for (int index = 0; index < ArgCount; ++index) {
    if (std::strncmp(ArgTable[index], "ini=", 4) == 0) fileName = ArgTable[index] + 4;
  }

  GameSettings settings;
  SetText(settings.JavaGameClassName, "TestGame");
  SetText(settings.JavaClasses, "Java");
  SetText(settings.JavaClassesPacked, "code");

  CZKPARSE_KEYWORD* list = ParseScriptFile(fileName, nullptr, nullptr, nullptr);
  if (list == nullptr) return settings;
  // Top-level statements only: calls inside a block are not settings.
  for (const CZKPARSE_KEYWORD* node = list; node != nullptr; node = node->next) {
    SettingText* target = nullptr;
    if (CompareNoCase(node->name, "JavaGameClassName") == 0) {
      target = &settings.JavaGameClassName;
    } else if (CompareNoCase(node->name, "JavaClasses") == 0) {
      target = &settings.JavaClasses;
    } else if (CompareNoCase(node->name, "JavaClassesPacked") == 0) {
      target = &settings.JavaClassesPacked;
    }
    const CZKPARSE_PARAM* first = node->params;
    if (target == nullptr || first == nullptr || first->type != ZKPARSE_TYPE_STRING) continue;
    const char* value = static_cast<const CZKPARSE_STRING*>(first)->value;
    if (value != nullptr) SetText(*target, value);
  }
  delete list;
  return settings;
}
