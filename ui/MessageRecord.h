#pragma once

#include "appsvc/Win32Api.h"

// A window message as the native window hands it to its listener and to the control's HandleMessage.
// Handlers may change wParam (a replaced character) and set the result the window procedure returns.
struct MessageRecord {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
};
