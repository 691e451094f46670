#include "app/export/listing/UnreadableFolders.h"

#include "app/export/filesystem/NotFoundError.h"

#include <cerrno>

FolderFailure ClassifyFolderFailure(int code) {
    if (IsNotFoundError(code)) {
        return FolderFailure::Vanished;
    }
    switch (code) {
        case EMFILE:
        case ENFILE:
        case ENOMEM:
        case EINVAL:
        case EBADF:
            return FolderFailure::Fatal;
        default:
            // EACCES, EPERM, EIO, ENAMETOOLONG, a stale network handle: this folder's trouble only.
            return FolderFailure::Unreadable;
    }
}
