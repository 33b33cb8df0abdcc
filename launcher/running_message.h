// The message a second instance shows, as "data\Running.scr" gives it: the caption on the first
// line, the text on the second. Portable, so that its rules are tested natively.
#pragma once

struct RunningMessage {
  char caption[128];
  char text[256];
};

// Reads the message from the file at path. Each part keeps its default ("Error", "Vantor already
// running") when the file ends before it; each is cut before its first line break. A first line
// longer than the caption's 127 characters goes on into the text. False when the file cannot be
// opened: then there is no message to show.
bool ReadRunningMessage(const char* path, RunningMessage& message);
