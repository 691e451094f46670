#pragma once

#include <string_view>

// The two checks the export makes on the folder text before listing it.

// False for an empty text. A trailing separator (one, and not the one of a drive root such as "C:\" or
// of the POSIX root "/") is dropped before the test.
bool PathExists(std::u16string_view path);

// True when the unchanged text names an existing folder.
bool IsFolder(std::u16string_view path);
