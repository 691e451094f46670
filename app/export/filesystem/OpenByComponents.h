#pragma once

#include <string>

// POSIX only: opens the file or folder at `path` (bytes, absolute or relative to the current folder)
// with open's `flags`, also when the path is too long for the system to take at once (PATH_MAX bytes
// or more). Such a path is followed one component at a time, each folder reached from the one before;
// `flags` apply to the last component only. Returns the descriptor, or -1 with errno set.
int OpenByComponents(const std::string& path, int flags);
