#pragma once

#include "appsvc/Win32Api.h"

// Colours are COLORREF values (0x00BBGGRR). SYSTEM_COLOR stands for the system colour of the role: the
// button face for backgrounds, the window text for label text.
inline constexpr COLORREF SYSTEM_COLOR = 0xFF000000;

// The colour to paint with: `color` itself, or the system colour `systemIndex` (COLOR_BTNFACE, ...)
// for SYSTEM_COLOR.
inline COLORREF ResolveColor(COLORREF color, int systemIndex) {
    return color == SYSTEM_COLOR ? GetSysColor(systemIndex) : color;
}
