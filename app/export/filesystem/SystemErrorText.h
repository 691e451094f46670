#pragma once

#include <string>

// The system's own text for an error number (errno on POSIX, a Win32 error code on Windows), without
// a trailing line break.
std::u16string SystemErrorText(int code);
