#include "app/export/listing/UnreadableFolders.h"

#include "app/export/filesystem/NotFoundError.h"

#include <windows.h>

FolderFailure ClassifyFolderFailure(int code) {
    if (IsNotFoundError(code)) {
        return FolderFailure::Vanished;
    }
    switch (static_cast<DWORD>(code)) {
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
