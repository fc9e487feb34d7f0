#pragma once

// Runs the program: settings and word index, the application, the splash,
// the document folder, the main window, then the message loop. Returns the
// process's exit code.
int RunClient(int argc, char** argv);
