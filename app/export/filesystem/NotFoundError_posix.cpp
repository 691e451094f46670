#include "app/export/filesystem/NotFoundError.h"

#include <cerrno>

bool IsNotFoundError(int code) {
    switch (code) {
        case ENOENT:
        case ENOTDIR:  // replaced by a file meanwhile
        case ELOOP:    // a link to itself, or replaced by a link (the walk opens without following)
            return true;
        default:
            return false;
    }
}
