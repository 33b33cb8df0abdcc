#include "running_message.h"

#include <cstdio>
#include <cstring>

namespace {

// Ends the text before its first line break.
void CutAtLineBreak(char* text) {
  text[std::strcspn(text, "\r\n")] = '\0';
}

}  // namespace

bool ReadRunningMessage(const char* path, RunningMessage& message) {
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return false;
  std::strcpy(message.caption, "Error");
  std::strcpy(message.text, "Vantor already running");
  // A read that meets the end of the file leaves its buffer as it was.
  if (std::fgets(message.caption, sizeof message.caption, file) != nullptr) {
    CutAtLineBreak(message.caption);
  }
  if (std::fgets(message.text, sizeof message.text, file) != nullptr) {
    CutAtLineBreak(message.text);
  }
  std::fclose(file);
  return true;
}
