#pragma once

class CVolWinApp;

// Runs the program's main message loop on this thread, registered with the module while it runs,
// with `loopOwner`'s hooks. Returns the exit code WM_QUIT carries (0 when the main window's
// destruction posted it).
int RunMainLoop(CVolWinApp& loopOwner);
