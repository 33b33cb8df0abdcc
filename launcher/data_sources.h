#pragma once

// Starts the file-system library and registers the game's 66 sources: the packages data0.pak to
// data63.pak (whether or not they exist), the working folder and its data folder.
void MountDataSources();
