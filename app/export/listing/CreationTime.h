#pragma once

#include "app/export/filesystem/FileTimeTicks.h"

#include <cstdint>

// The creation time a file's row shows, from the two times the system gives for it (both on the
// FILETIME scale; a birth time the system does not give at all is 0).
//
// A birth time of zero means the file system does not know it: disk images are often made without
// one (statx then still says it has one, at the Unix epoch), and some network redirectors and
// foreign file systems report a FILETIME of zero. Either clock's zero is taken for unknown on both
// platforms, since either reaches both through copies and mounts, and the last modification, which
// every file system keeps, stands in for it.
constexpr std::int64_t CreationTimeOf(std::int64_t birthTime, std::int64_t modificationTime) {
    const bool unknown = birthTime == 0 || birthTime == kUnixEpochTicks;
    return unknown ? modificationTime : birthTime;
}
