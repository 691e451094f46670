#pragma once

#include "appsvc/Win32Api.h"

// A filter in a framework window's procedure chain: sees every message before the window's own
// handling.
class IWindowProcFilter {
public:
    // Slot 0: non-zero when the filter handled the message and stored the window's answer in *result.
    virtual int Filter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;

protected:
    ~IWindowProcFilter() = default;
};
