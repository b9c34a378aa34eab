// The windowed program, provided by the window layer when the build has it
// (NORVIX_WINDOWS).
#pragma once

#include <string>

// Starts the windowed Norvix: splash (unless `showSplash` is false), main
// window, editor and results window; loads `file` when it is not empty.
// Returns the exit status of the event loop.
int runWindowed(int argc, char** argv, const std::string& file, bool showSplash);
