#pragma once

#include "appsvc/Win32Api.h"

// Answers WM_PAINT for a window that paints itself: between BeginPaint and EndPaint, runs
// `paint(dc, area, client)` for the part that needs painting (the clip box within the client rectangle),
// and nothing when that part is empty.
template <class Paint>
void PaintClientArea(HWND window, Paint paint) {
    PAINTSTRUCT session{};
    const HDC dc = BeginPaint(window, &session);
    if (dc == nullptr) {
        return;
    }
    RECT clip{};
    RECT client{};
    RECT area{};
    GetClipBox(dc, &clip);
    GetClientRect(window, &client);
    if (IntersectRect(&area, &clip, &client)) {
        paint(dc, area, client);
    }
    EndPaint(window, &session);
}
