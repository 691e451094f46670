#include "app/export/filesystem/NotFoundError.h"

#include <windows.h>

bool IsNotFoundError(int code) {
    switch (static_cast<DWORD>(code)) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:              // replaced by a file meanwhile
        case ERROR_CANT_RESOLVE_FILENAME:  // a link that loops
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return true;
        default:
            return false;
    }
}
