#pragma once

// Start-up side tasks, run in the game folder before the data sources are mounted. Neither can stop
// the start.

// When the game folder holds a Params folder, compiles the Java sources in it with
// "JDK\bin\compile.bat" into the Java folder, and waits for the batch file to end.
void CompileScriptParams();

// Once per installation (until "logs/DXdiags.txt" exists), starts the Windows diagnostics tool in
// the background to write its report there. Progress and failures go to the debugger only.
void RunDxDiagReport();
