#pragma once

#include <string>
#include <string_view>

// Temporary files of an export lie in the folder the workbook goes to. One that an export killed or cut
// off left behind belongs to no one and is removed by the next export there; one that a running export
// still owns must be left alone. What tells them apart is whether the file can be removed now: on
// Windows a file being written is held by its writer without sharing its deletion; on POSIX, where an
// open file never keeps its name from going, the owner holds a lock on it (flock) from the moment it
// makes the file until it lets it go.

// The claim of a running export on one temporary file, for as long as this object lives. On POSIX the
// file is made (empty) if it is not there yet, and locked; on Windows nothing is needed, since the file
// is held by whoever writes it.
class TemporaryFileClaim {
public:
    explicit TemporaryFileClaim(std::u16string_view path);
    ~TemporaryFileClaim();
    TemporaryFileClaim(const TemporaryFileClaim&) = delete;
    TemporaryFileClaim& operator=(const TemporaryFileClaim&) = delete;

private:
    int descriptor_ = -1;  // the locked file on POSIX; -1 on Windows
};

// Removes, from `folder`, every file whose name `isTemporaryName` recognises that no running export
// claims. Answers how many it removed. Errors are not reported: such a file simply stays.
int RemoveUnclaimedFiles(std::u16string_view folder, bool (*isTemporaryName)(std::u16string_view name));
