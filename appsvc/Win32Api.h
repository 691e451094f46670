#pragma once

// The Win32 API as this library includes it. windows.h maps GetClassInfo to GetClassInfoW, which
// would silently rename the class-record operation of every value object declared after it; the
// Win32 call is spelt GetClassInfoW (or GetClassInfoExW) where it is needed.
#include <windows.h>
#undef GetClassInfo
