#pragma once

#include "app/export/FileSystemError.h"

#include <string>
#include <string_view>

// The file operations that put a finished workbook in place.

// Moves `from` over `to`, replacing a file already there in one step; fails when `to` is a folder or
// cannot be replaced (open in another program, read-only). A replaced file's permissions stay: on
// Windows its attributes and security (ReplaceFileW), on POSIX its mode (and owner where permitted).
// Both paths are in the same folder. Paths of any length the system allows are taken.
bool MoveFileOver(std::u16string_view from, std::u16string_view to, FileSystemError& error);

// Moves `from` to the new name `to`, which may be on another volume (then by copying).
bool MoveFileAcross(std::u16string_view from, std::u16string_view to, FileSystemError& error);

// True when libxlsxwriter can create a file at `path` by its own means. On Windows it takes paths
// shorter than MAX_PATH only (it converts the path into a buffer of that size) and no unpaired
// surrogates; on POSIX any path.
bool LibraryCanTakePath(std::u16string_view path);

// The system's temporary folder when a file can be made there now (and the library can take its path),
// otherwise the empty text.
std::u16string UsableTemporaryFolder();

// A folder of our choosing where the library can take paths (on Windows the user's temporary folder,
// when its path is short enough), or the empty text when there is none.
std::u16string ShortStagingFolder();

// Removes a file, ignoring failure (used to clean up after a failed write).
void RemoveFileQuietly(std::u16string_view path);

// The system's text for the error the last failed call of this thread left behind, or the empty text.
// ClearSystemError forgets it, so that a later failure of a library call can be told apart.
std::u16string LastSystemErrorText();
void ClearSystemError();
