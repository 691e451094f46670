#pragma once

#include <cstdint>
#include <string>

// What one entry of a folder is, with links followed (a link to a file is a file).
enum class EntryKind { Regular, Directory, Other };

// One entry of a folder listing, as the enumeration itself reports it.
struct DirectoryEntry {
    // The entry's name; code units that are not valid Unicode are replaced by U+FFFD.
    std::u16string name;
    EntryKind kind = EntryKind::Other;
    // A symbolic link or junction: the recursive walk does not descend through it.
    bool isLink = false;
    std::int64_t size = 0;
    // Creation time in UTC as 100-nanosecond ticks since 1 January 1601 (the Windows FILETIME scale);
    // the last modification where the system does not know the birth (CreationTime.h).
    std::int64_t creationTime = 0;
};
