#pragma once

#include "runtime/CWString.h"

#include <cstdint>

// Column D: the size in whole units of 1000 bytes (not 1024), truncated, followed by "KB": 999 bytes
// give "0KB", 1,500,000 bytes "1500KB". The number is printed with "%.15G".
CWString SizeText(std::int64_t bytes);
