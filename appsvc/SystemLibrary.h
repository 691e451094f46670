#pragma once

#include "appsvc/Win32Api.h"

// Loads the system DLL `name` (a file name without a folder, "SHCore.dll") from the system folder and
// nowhere else: with LOAD_LIBRARY_SEARCH_SYSTEM32, or by its full path in the system folder where that
// flag is unknown (Windows 7 without update KB2533623). Null, with the last error set, when the DLL is
// not there. The caller frees the module.
HMODULE LoadSystemLibrary(const wchar_t* name);
