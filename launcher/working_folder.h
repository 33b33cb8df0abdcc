#pragma once

// Makes the folder of the running executable the working folder, so that every relative name the
// game uses is the game's own. C:\Games\X\run.exe gives C:\Games\X\.
void EnterExecutableFolder();
