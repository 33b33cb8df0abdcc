// The engine's window: an invisible top-level window whose procedure throws the engine's
// exception when asked, so that the exception leaves through DispatchMessage and the system's
// frames between it and the procedure.
#pragma once

// Creates the window; false when it cannot be made.
bool CreateEngineWindow();

// Posts the message on which the window procedure throws CWindowStateException
// (engine_exceptions.h). The throw happens when the program's message loop dispatches it.
void AskWindowToThrow();
