// For unit tests only: the log is opened once per process, so a test that needs a fresh log
// returns the module to its state at process start. The program never calls this.
#pragma once

// Closes the log file, detaches the console and marks the log as not opened.
void LogResetForTesting();
