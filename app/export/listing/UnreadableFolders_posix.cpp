#include "app/export/listing/UnreadableFolders.h"

#include <cerrno>

FolderFailure ClassifyFolderFailure(int code) {
    switch (code) {
        case ENOENT:
        case ENOTDIR:  // replaced by a file meanwhile
        case ELOOP:    // a link to itself, or replaced by a link (the walk opens without following)
            return FolderFailure::Vanished;
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
