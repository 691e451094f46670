#pragma once

#include <string>
#include <vector>

#include "appsvc/Win32Api.h"

#include <shellapi.h>

// An HDROP as the shell builds it: a DROPFILES header followed by the NUL-terminated wide names and an
// empty one. The caller hands it to a window; DragFinish frees it. Shared by the window framework's
// tests and the main form's (ShellDrop_win.cpp is built into both).
HDROP MakeDrop(const std::vector<std::u16string>& names);
