#pragma once

#include "appsvc/Win32Api.h"

// The display side of scaling on Windows: the start-up computation of the process-wide scale, the
// scaling of designed values by it, and two display queries.

// Start-up: declares the process per-monitor DPI aware and stores max(1.0, dpiY / 96) in the
// application instance, dpiY from GetDpiForMonitor of the desktop's monitor, or from the desktop
// device context's LOGPIXELSY when the library, its exports or the value are missing. Both exports are
// looked up by name in `shcoreLibrary`, loaded from the system folder only. Returns the scale stored.
double ComputeDisplayScale(const char16_t* shcoreLibrary = u"SHCore.dll");

// A designed (96-DPI) value in device pixels at the instance's scale.
int ScaleToDevice(int value);

// A font size in points to pixels at the screen's LOGPIXELSY; not rounded.
double PointsToPixels(double points);

// The full rectangle (not the work area) of the monitor nearest to `window`; the primary screen
// (0, 0, SM_CXSCREEN, SM_CYSCREEN) for a null window or when the monitor cannot be read.
RECT GetMonitorRect(HWND window);

// The stretch mode for scaled image drawing: COLORONCOLOR (3) on displays of 16 bits per pixel or
// less, or when the display settings cannot be read; HALFTONE (4) otherwise.
int StretchModeForDisplay();
