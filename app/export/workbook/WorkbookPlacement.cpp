#include "app/export/workbook/WorkbookPlacement.h"

#include "app/export/filesystem/AbsolutePath.h"
#include "app/export/filesystem/FileOperations.h"

WorkbookPlacement::WorkbookPlacement(std::u16string besideTarget,
                                     std::u16string (*temporaryIn)(std::u16string_view),
                                     bool (*isTemporaryName)(std::u16string_view))
    : temporaryIn_(temporaryIn),
      besideTarget_(std::move(besideTarget)),
      besideTargetForm_(besideTarget_),
      besideTargetClaim_(besideTarget_) {
    // What a killed or cut-off export left behind; this export's own file is claimed already.
    RemoveUnclaimedFiles(ParentFolder(besideTarget_), isTemporaryName);
    // The system's own short form of the path, where it has one (Linux), serves the library too.
    std::u16string shortForm = besideTargetForm_.Form();
    if (LibraryCanTakePath(besideTarget_) || !LibraryCanTakePath(shortForm)) {
        shortForm = besideTarget_;
    }
    std::u16string staging = LibraryCanTakePath(shortForm) ? std::u16string() : ShortStagingFolder();
    // Without a short folder the library is given the long path all the same, and reports its failure.
    libraryPath_ = staging.empty() ? shortForm : temporaryIn_(staging);
    // The library's own temporary files go to the system's temporary folder as usual when it works, so
    // they never lie in the folder being listed; otherwise beside the workbook it writes.
    libraryFolder_ = UsableTemporaryFolder();
    if (libraryFolder_.empty()) {
        libraryFolder_ = ParentFolder(libraryPath_);
    }
}

WorkbookPlacement::~WorkbookPlacement() {
    if (!placed_ && !leftBehind_) {
        RemoveTemporaryFile(besideTarget_);
    }
    if (libraryPath_ != besideTarget_ && !libraryPath_.empty()) {
        RemoveTemporaryFile(libraryPath_);
    }
}

bool WorkbookPlacement::PutInPlace(std::u16string_view target, HeldFileRetry& retry, FileSystemError& error,
                                   const PlacementSeam* seam) {
    if (libraryPath_ != besideTarget_ && !MoveFileAcross(libraryPath_, besideTarget_, retry, error)) {
        return false;
    }
    // The backup name lies beside the workbook, like the temporary one: on a file server too the earlier
    // workbook only changes its name, never its volume.
    if (!MoveFileOver(besideTarget_, target, temporaryIn_(ParentFolder(target)), retry, error, seam)) {
        leftBehind_ = !error.newFileLeftAt.empty();
        return false;
    }
    placed_ = true;
    return true;
}
