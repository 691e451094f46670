#pragma once

#include "app/export/ExportObserver.h"
#include "app/export/FileList.h"
#include "app/export/FileSystemError.h"
#include "runtime/CMStringArray.h"

#include <string_view>
#include <vector>

// The listing of the export. Both walk the folder in the file system's own order, with no sorting;
// hidden and system files are listed like any other.
//
// Arguments: the sub-folder list, file list and suffix filter may each be null ("none"). A regular file
// goes to the file list (with a filter, only when its suffix including the dot, such as ".txt", equals
// one of the filter's texts without regard to ASCII case, so an empty filter takes nothing); an entry
// that is a folder goes to the sub-folder list. Paths are the folder text joined with the entry's name.
//
// A missing folder lists nothing and succeeds. A failure of the file system stops the listing and is
// returned in `error` (with the operation, the path and the system's text); the lists keep what was
// appended before it. The observer, when given, hears the running count of listed files.

// The entries directly in `folder`.
bool ListFiles(std::u16string_view folder, CMStringArray* subFolders, FileList* files,
               const CMStringArray* suffixFilter, FileSystemError& error, ExportObserver* observer = nullptr);

// The whole tree below `folder`, depth-first in pre-order: a sub-folder's entries come right where the
// sub-folder stands in its parent's listing. Links to folders are listed but not descended into. A
// folder text that stands for a whole file-system root (on Windows any text shorter than 4 characters,
// such as "C:\" or "C:"; on POSIX "/") lists nothing, so that a whole drive is never walked.
// A sub-folder that vanishes, or cannot be opened or read, is skipped as SkipFailedSubfolder decides
// (the unreadable ones go to `skippedFolders`, when given); only the top folder's failure fails.
bool ListFilesRecursive(std::u16string_view folder, CMStringArray* subFolders, FileList* files,
                        const CMStringArray* suffixFilter, FileSystemError& error,
                        ExportObserver* observer = nullptr,
                        std::vector<FileSystemError>* skippedFolders = nullptr);
