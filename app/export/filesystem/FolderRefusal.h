#pragma once

#include "app/export/filesystem/FileSystemError.h"

#include <string_view>

// True when the folder of `probe` lets no new file be created in it, for good: it is read-only or
// write-protected, lies on a read-only medium or share, or denies the user the right to create files.
// Found by creating the file `probe` (a name that no file has) and removing it at once. A full disk, a
// name already taken or any other failure does not count, nor does a folder the user may not read
// either: the export then meets it itself and reports it. `error` tells the system's reason.
bool FolderRefusesNewFiles(std::u16string_view probe, FileSystemError& error);
