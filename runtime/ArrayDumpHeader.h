#pragma once

#include <cstdint>

class CWString;

// The members an array's debug text shows when the caller passes a limit of 0.
inline constexpr int ARRAY_DUMP_DEFAULT_LIMIT = 64;

// Appends the header of an array's debug text for `count` members under `limit` (0: the default,
// negative: all) and returns how many members follow it.
std::int64_t AppendArrayDumpHeader(CWString& out, std::int64_t count, int limit);
