#pragma once

#include <cstdint>
#include <string>

// What the export knows of one listed file. The listing makes it from the folder entry and hands it on
// unchanged to the writer, which makes every cell of the file's row from it: the file is never looked up
// again.
struct FileRecord {
    // The folder text joined with the entry's name.
    std::u16string path;
    std::int64_t size = 0;
    // UTC, 100-nanosecond ticks since 1 January 1601.
    std::int64_t creationTime = 0;
};
