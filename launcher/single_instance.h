#pragma once

// Keeps a second copy of the game from starting while one runs. The first instance claims the
// mutex "VantorMutex" for its whole life; a later one shows the message of "data\Running.scr"
// (read relative to the folder the process was started in) and is refused, unless its command line
// holds "-ami" anywhere. Returns true when the start goes on.
bool CheckSingleInstance(const char* commandLine);
