#pragma once

#include "app/export/filesystem/FileSystemError.h"
#include "app/export/filesystem/HeldFileRetry.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// The file operations that put a finished workbook in place.

// Where tests step into the replacement of a workbook on Windows: to hold a try back until another
// process is ready, or to make it fail.
class PlacementSeam {
public:
    virtual ~PlacementSeam() = default;

    // Called before each try to move `replacement` over `replaced`; `backup` is the name the replaced
    // file takes meanwhile, empty when there is none to replace. May block. A non-zero system error
    // number makes the try fail with it, as though the system had refused it; the seam may first do
    // what the system does before such a failure (move `replaced` to `backup`).
    virtual int BeforeTry(std::u16string_view /*replaced*/, std::u16string_view /*replacement*/,
                          std::u16string_view /*backup*/) const {
        return 0;
    }
    // Called before each try to move a file to the name the system left empty when it failed after
    // moving the replaced file to `backup`: the replaced file back, or else the replacement. A non-zero
    // system error number fails the try with it.
    virtual int BeforeMove(std::u16string_view /*from*/, std::u16string_view /*to*/) const { return 0; }
};

// Moves `from` over `to`, replacing a file already there; fails when `to` is a folder or cannot be
// replaced (open in another program, read-only). The data of `from` is flushed to the disk first, and
// the moves are written through, so that a power cut afterwards cannot leave the name holding a file
// that was never written. A replaced file's permissions stay: on Windows its attributes and security
// (ReplaceFileW), on POSIX its mode (and owner where permitted). All paths are in one folder. Paths of
// any length the system allows are taken.
//
// Whatever fails, `to` then holds either the new file or the one it had, complete, with one exception
// told in `error`: on Windows, when the system has moved the replaced file to the unused name `backup`
// and neither it nor the new file can then take the empty name (error.newFileLeftAt and
// error.earlierFileLeftAt say where they are; nothing is removed). When the replaced file cannot go
// back to its name, the new one takes it and the replacement succeeds. A try refused for a reason
// another program can cause (AnotherProgramMayCause) is made again, as `retry` allows. On POSIX it is
// one rename, which replaces in one atomic step and is refused for no other program, followed by a flush
// of the folder so that the new name itself is on the disk: `backup`, `retry` and `seam` are not used
// there.
bool MoveFileOver(std::u16string_view from, std::u16string_view to, std::u16string_view backup,
                  HeldFileRetry& retry, FileSystemError& error, const PlacementSeam* seam = nullptr);

// Moves `from` to the new name `to`, which may be on another volume (then by copying); tried again
// like MoveFileOver.
bool MoveFileAcross(std::u16string_view from, std::u16string_view to, HeldFileRetry& retry,
                    FileSystemError& error);

// True when the system's refusal `code` of a replacement, move or removal is one another program can
// cause by holding a file open, so that a later try may succeed: on Windows a sharing or lock
// violation, access denied (unless `targetRefusesForGood`: what stands at the target's name is a
// read-only file or a folder, which refuse access for as long as they are there) and the three
// failures of ReplaceFileW (1175 to 1177). Never on POSIX.
bool AnotherProgramMayCause(int code, bool targetRefusesForGood);

// True when another program holds the existing file at `path` open so that it cannot be replaced (it
// does not share its deletion), as Excel holds an open workbook: found by opening the file for
// deletion, sharing everything, and closing it at once. `error` then tells the system's reason. False
// for a missing file or a folder, and on POSIX, where no open file keeps a rename from replacing it.
bool IsHeldOpenElsewhere(std::u16string_view path, FileSystemError& error);

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

// Removes a temporary file of the export (used to clean up after a failed write); a failure is not
// reported, since the export's outcome does not depend on it. On Windows a file another program holds
// open goes when the last program lets go: marked for deletion at once when the holders share its
// deletion, otherwise removed later (DeferredRemoval.h) as soon as they let go.
void RemoveTemporaryFile(std::u16string_view path);

// Waits, at most `limit`, until the temporary files whose removal had to wait for another program are
// gone: a process about to end gives them a little time. Answers those still held (never any on POSIX).
std::vector<std::u16string> WaitForDeferredRemovals(std::chrono::milliseconds limit);

// The system's text for the error the last failed call of this thread left behind, or the empty text.
// ClearSystemError forgets it, so that a later failure of a library call can be told apart.
std::u16string LastSystemErrorText();
void ClearSystemError();
