#pragma once

#include "app/export/filesystem/FileSystemError.h"

#include <string_view>
#include <vector>

// What the recursive walk does when a sub-folder fails it (it cannot be opened, or reading it or one
// of its entries' status fails): one bad folder must not sink the whole export.
enum class FolderFailure {
    Vanished,    // it (or the entry) is gone, or is a link that leads nowhere: skipped silently
    Unreadable,  // it exists but may not or cannot be read (permission, I/O error): skipped and counted
    Fatal,       // the program itself cannot go on (out of descriptors or memory): the listing fails
};

// The kind of failure for a system error number (errno on POSIX, a Win32 error code on Windows).
FolderFailure ClassifyFolderFailure(int code);

// The walk's decision for a sub-folder at `folderPath` that failed with `error`: true when the walk goes
// on past it (an unreadable one is then added to `skipped`, when given, with the folder's path and the
// system's reason), false when the listing must fail.
bool SkipFailedSubfolder(std::u16string_view folderPath, const FileSystemError& error,
                         std::vector<FileSystemError>* skipped);
