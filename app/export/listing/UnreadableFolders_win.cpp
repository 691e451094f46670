#include "app/export/listing/UnreadableFolders.h"

#include <windows.h>

FolderFailure ClassifyFolderFailure(int code) {
    switch (static_cast<DWORD>(code)) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:              // replaced by a file meanwhile
        case ERROR_CANT_RESOLVE_FILENAME:  // a link that loops
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return FolderFailure::Vanished;
        case ERROR_TOO_MANY_OPEN_FILES:
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
        case ERROR_INVALID_HANDLE:
            return FolderFailure::Fatal;
        default:
            // Access denied, sharing violation, I/O and network errors: this folder's trouble only.
            return FolderFailure::Unreadable;
    }
}
