#pragma once

// GDI+ is started lazily, once per process, by the first image load, and shut down by the program's
// end sequence. Both steps run under the application instance's GDI+ lock, which keeps the token.

// Starts GDI+ when it is not running yet, loading it from the system folder the first time; false
// when the DLL cannot be loaded or the start-up fails.
bool EnsureGdiplus();

// Shuts GDI+ down if it is running and clears the token. Safe to call more than once.
void ShutdownGdiplus();

// True while GDI+ is started.
bool IsGdiplusStarted();
