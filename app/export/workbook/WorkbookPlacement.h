#pragma once

#include "app/export/filesystem/FileOperations.h"
#include "app/export/filesystem/FileSystemError.h"
#include "app/export/filesystem/HeldFileRetry.h"
#include "app/export/filesystem/SystemPath.h"
#include "app/export/filesystem/TemporaryFileClaim.h"

#include <string>
#include <string_view>

// Where libxlsxwriter writes a workbook and how the finished file takes its place. The library opens
// its output and temporary files by its own means, which on Windows take short paths only; the
// program puts the finished file in place itself, with calls that take paths of any length. An
// earlier workbook is replaced only by a complete new one, and is never lost on the way.
class WorkbookPlacement {
public:
    // `besideTarget` is an unused temporary name in the workbook's own folder; `temporaryIn` gives an
    // unused temporary name in a folder (another one for the library, the workbook's own for the
    // earlier workbook while it is replaced). Temporary files of that form that an earlier export left
    // in the workbook's folder, and that no running export owns, are removed (`isTemporaryName` tells
    // them).
    WorkbookPlacement(std::u16string besideTarget, std::u16string (*temporaryIn)(std::u16string_view),
                      bool (*isTemporaryName)(std::u16string_view));
    // Removes what a failed or abandoned export left behind, when it can; never a new workbook that a
    // replacement stopped half-way left in place of the real one (error.newFileLeftAt).
    ~WorkbookPlacement();
    WorkbookPlacement(const WorkbookPlacement&) = delete;
    WorkbookPlacement& operator=(const WorkbookPlacement&) = delete;

    // The path the library writes the workbook to: the temporary name beside the workbook when the
    // library can take it, otherwise one in a short folder of our choosing.
    const std::u16string& LibraryPath() const { return libraryPath_; }
    // The folder for the library's own temporary files: the system's temporary folder when a file can be
    // made there, otherwise the one the library writes the workbook into, so that an unusable temporary
    // folder does not stop an export into a writable folder.
    const std::u16string& LibraryTemporaryFolder() const { return libraryFolder_; }

    // Moves the finished workbook over `target` (beside which the temporary name lies), trying again
    // while another program holds a file it needs, as `retry` allows.
    bool PutInPlace(std::u16string_view target, HeldFileRetry& retry, FileSystemError& error,
                    const PlacementSeam* seam = nullptr);

private:
    std::u16string (*temporaryIn_)(std::u16string_view);
    std::u16string besideTarget_;
    // The system's form of besideTarget_, which the library may be given: kept for the whole export,
    // since on Linux a long path's form lasts only as long as this object.
    SystemPath besideTargetForm_;
    // Keeps other exports' sweeps of leftovers away from the files of this one.
    TemporaryFileClaim besideTargetClaim_;
    std::u16string libraryPath_;
    std::u16string libraryFolder_;
    bool placed_ = false;
    bool leftBehind_ = false;
};
