#pragma once

#include "app/export/filesystem/FileSystemError.h"

#include <string_view>

// The two checks the export makes on the folder text before listing it.

// False for an empty text. A trailing separator (one, and not the one of a drive root such as "C:\" or
// of the POSIX root "/") is dropped before the test.
bool PathExists(std::u16string_view path);

// True when the unchanged text names an existing folder.
bool IsFolder(std::u16string_view path);

// The same checks, telling a path that is not there (false, error.code 0) from one the system could not
// look at (false, error.code set: an I/O error, no permission for a folder on the way): the first is a
// fact about the path, the second a failure to read it.
bool PathExists(std::u16string_view path, FileSystemError& error);
bool IsFolder(std::u16string_view path, FileSystemError& error);
