#include "app/export/filesystem/PathChecks.h"

// The checks where a failure to look is no different from a path that is not there.

bool PathExists(std::u16string_view path) {
    FileSystemError ignored;
    return PathExists(path, ignored);
}

bool IsFolder(std::u16string_view path) {
    FileSystemError ignored;
    return IsFolder(path, ignored);
}
