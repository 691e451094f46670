#pragma once

#include "app/export/FileSystemError.h"

#include <string>
#include <string_view>

// The file operations that put a finished workbook in place.

// Moves `from` over `to`, replacing a file already there in one step; fails when `to` is a folder or
// cannot be replaced (open in another program, read-only).
bool MoveFileOver(std::u16string_view from, std::u16string_view to, FileSystemError& error);

// Removes a file, ignoring failure (used to clean up after a failed write).
void RemoveFileQuietly(std::u16string_view path);

// The system's text for the error the last failed call of this thread left behind, or the empty text.
// ClearSystemError forgets it, so that a later failure of a library call can be told apart.
std::u16string LastSystemErrorText();
void ClearSystemError();
