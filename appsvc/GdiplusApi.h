#pragma once

// The GDI+ flat API as this library uses it: the types of Gdiplus::, and the few functions it calls in
// one table, looked up once in the system folder's gdiplus.dll by the first image load
// (GdiplusSession.h). GDI+ is no static import: Windows 7 does not count gdiplus.dll among the DLLs it
// always takes from the system folder, so the loader would take one from the program's folder before
// any code of ours runs.
#include "appsvc/Win32Api.h"
// objidl.h (IStream) is left out by WIN32_LEAN_AND_MEAN but needed by the GDI+ headers.
#include <objbase.h>
#include <objidl.h>

#include <gdiplus.h>

// Each slot is named after the export it holds.
struct GdiplusFunctions {
    decltype(&Gdiplus::GdiplusStartup) GdiplusStartup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown = nullptr;
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromStream) GdipCreateBitmapFromStream = nullptr;
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromFile) GdipCreateBitmapFromFile = nullptr;
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromScan0) GdipCreateBitmapFromScan0 = nullptr;
    decltype(&Gdiplus::DllExports::GdipDisposeImage) GdipDisposeImage = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImagePixelFormat) GdipGetImagePixelFormat = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageWidth) GdipGetImageWidth = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageHeight) GdipGetImageHeight = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImagePaletteSize) GdipGetImagePaletteSize = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImagePalette) GdipGetImagePalette = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapLockBits) GdipBitmapLockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapUnlockBits) GdipBitmapUnlockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageGraphicsContext) GdipGetImageGraphicsContext = nullptr;
    decltype(&Gdiplus::DllExports::GdipSetCompositingMode) GdipSetCompositingMode = nullptr;
    decltype(&Gdiplus::DllExports::GdipDrawImageRectI) GdipDrawImageRectI = nullptr;
    decltype(&Gdiplus::DllExports::GdipDeleteGraphics) GdipDeleteGraphics = nullptr;
};

// Loads gdiplus.dll from the system folder and fills the table, once per process; later calls return
// the same table. Null when the DLL or one of the functions is missing (asked again next time). The
// caller holds the application instance's GDI+ lock; the DLL stays loaded until the process ends,
// since GDI+ may keep a thread of its own in it.
const GdiplusFunctions* LoadGdiplusFunctions();

// The table filled by LoadGdiplusFunctions; only valid once GDI+ has started (EnsureGdiplus), which
// every holder of a GDI+ object has seen.
const GdiplusFunctions& GdiplusCalls();
