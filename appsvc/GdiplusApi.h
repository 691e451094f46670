#pragma once

// The GDI+ flat API as this library uses it: types in Gdiplus::, functions in Gdiplus::DllExports.
#include "appsvc/Win32Api.h"
// objidl.h (IStream) is left out by WIN32_LEAN_AND_MEAN but needed by the GDI+ headers.
#include <objbase.h>
#include <objidl.h>

#include <gdiplus.h>
