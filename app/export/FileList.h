#pragma once

#include "runtime/CMStringArray.h"

#include <cstdint>
#include <deque>

// The listed files of one export, in listing order: the full paths, and for each the two values the
// listing saw (size and creation time), so that no file is looked up again while the rows are written.
//
// Memory per file: 8 bytes of pointer and the path's own block (2 bytes per code unit plus the NUL, from
// the pool or the heap) in the path array, and 16 bytes of values.
class FileList {
public:
    // Attributes
    std::int64_t GetCount() const { return paths_.GetCount(); }
    const char16_t* GetPath(std::int64_t index) const { return paths_.GetAt(index); }
    std::int64_t GetSize(std::int64_t index) const { return facts_[static_cast<std::size_t>(index)].size; }
    // UTC, 100-nanosecond ticks since 1 January 1601.
    std::int64_t GetCreationTime(std::int64_t index) const {
        return facts_[static_cast<std::size_t>(index)].creationTime;
    }
    const CMStringArray& GetPaths() const { return paths_; }

    // Operations
    void Append(const char16_t* path, std::int64_t size, std::int64_t creationTime);
    void Clear();

private:
    struct Facts {
        std::int64_t size;
        std::int64_t creationTime;
    };

    CMStringArray paths_;
    // A deque grows in fixed blocks, so a million entries never need a copy of the whole sequence.
    std::deque<Facts> facts_;
};
