#pragma once

#include "appsvc/Win32Api.h"
#include "runtime/CVolClassInfo.h"

// The program from start to end: the DLL search restricted to the system folder, common controls, module,
// instance values, COM, DPI awareness and the display scale; then the application object made by
// `appRecord`'s creator starts under the start-up catcher, the main message loop runs while there is a main
// window, and everything is torn down in a fixed order. Returns the process exit code: 0 after the main
// window closed (or when it could not be made), -1 when start-up failed.
//
// `appRecord` is MainApp's record, or that of a class derived from it; an object of any other class is
// destroyed and the process ends with exit code -1. A null `instance` means this module.
int RunProgram(HINSTANCE instance, const CVolClassInfo& appRecord);
