#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the export knows of one listed file. The listing makes it from the folder entry and hands it on
// unchanged to the writer, which makes every cell of the file's row from it: the file is never looked up
// again.
struct FileRecord {
    // The folder text joined with the entry's name.
    std::u16string path;
    // Where the entry's name starts in `path`: the name cells need no second search for a separator.
    std::size_t nameStart = 0;
    std::int64_t size = 0;
    // UTC, 100-nanosecond ticks since 1 January 1601.
    std::int64_t creationTime = 0;

    std::u16string_view Name() const { return std::u16string_view(path).substr(nameStart); }
};
