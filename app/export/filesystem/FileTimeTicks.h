#pragma once

#include <cstdint>

// Every time of the export is kept on the Windows FILETIME scale: 100-nanosecond ticks since
// 1 January 1601, UTC. The system's own times are brought to it here, and nowhere else.
inline constexpr std::int64_t kTicksPerSecond = 10000000;

// 1 January 1970 (the Unix epoch) on that scale.
inline constexpr std::int64_t kUnixEpochTicks = 11644473600 * kTicksPerSecond;

// A Unix time: seconds since 1970 and the nanoseconds past them.
constexpr std::int64_t TicksFromUnixTime(std::int64_t seconds, std::int64_t nanoseconds = 0) {
    return kUnixEpochTicks + seconds * kTicksPerSecond + nanoseconds / 100;
}

// A FILETIME: its two 32-bit halves are one count of ticks. A template so that this header needs no
// windows.h; it takes any type with the halves' names.
template <class FileTime>
constexpr std::int64_t TicksFromFileTime(const FileTime& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}
