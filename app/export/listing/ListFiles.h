#pragma once

#include "app/export/filesystem/CancelToken.h"
#include "app/export/filesystem/FileSystemError.h"
#include "app/export/listing/FileRecord.h"
#include "runtime/CMStringArray.h"

#include <string>
#include <string_view>
#include <vector>

// The listing of the export. Both walk the folder in the file system's own order, with no sorting;
// hidden and system files are listed like any other. Each found file goes to the sink at once, so
// nothing of the listing is held beyond the open folders.
//
// A regular file goes to the sink's OnFile (with a suffix filter, only when its suffix including the
// dot, such as ".txt", equals one of the filter's texts without regard to ASCII case, so an empty filter
// takes nothing). Paths are the folder text joined with the entry's name.
//
// A missing folder lists nothing and succeeds. A failure of the file system stops the listing and is
// returned in `error` (with the operation, the path and the system's text). The sink is asked before
// every entry whether to stop; a stopped listing returns true with what it has handed over so far.

class ListingSeam;

class ListingSink {
public:
    virtual ~ListingSink() = default;

    virtual void OnFile(FileRecord&& file) = 0;
    // A folder's entries have come (the top folder's too): for a count of the folders read.
    virtual void OnFolderRead() {}
    // True to end the listing early (the export was cancelled or its writer gave up).
    virtual bool ShouldStop() const { return false; }
    // When given, set as soon as ShouldStop turns true: the listing's waits end on it at once.
    virtual const CancelToken* StopToken() const { return nullptr; }
    // The recursive listing is about to wait for the file system (the folder it needs next is not read
    // yet): a sink that holds files back hands them on now.
    virtual void BeforeWait() {}
};

// The entries directly in `folder`.
bool ListFiles(std::u16string_view folder, ListingSink& sink, const CMStringArray* suffixFilter,
               FileSystemError& error);

// The whole tree below `folder`, depth-first in pre-order: a sub-folder's entries come right where the
// sub-folder stands in its parent's listing. Links to folders are listed but not descended into. A
// folder text that stands for a whole file-system root (on Windows any text shorter than 4 characters,
// such as "C:\" or "C:"; on POSIX "/") lists nothing, so that a whole drive is never walked.
// A sub-folder that vanishes, or cannot be opened or read, is skipped as SkipFailedSubfolder decides
// (the unreadable ones go to `skippedFolders`, when given); only the top folder's failure fails.
//
// The folders are read ahead on a few threads (FolderPrefetcher), many at once; the sink is called on
// the calling thread only, in the same order as a walk that reads one folder after another. A failing
// folder read ahead counts where the walk reaches it. `seam` is for tests.
bool ListFilesRecursive(std::u16string_view folder, ListingSink& sink, const CMStringArray* suffixFilter,
                        FileSystemError& error, std::vector<FileSystemError>* skippedFolders = nullptr,
                        const ListingSeam* seam = nullptr);
