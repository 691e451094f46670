#pragma once

#include "app/export/filesystem/FileSystemError.h"
#include "app/export/workbook/CellTextLimit.h"

#include <cstdint>
#include <string>
#include <vector>

enum class ExportOutcomeKind {
    DirectoryError,  // the folder text names no existing folder
    NoFiles,         // the folder holds no regular file (or is a root, listed recursively)
    Done,            // the workbook is in place
    WriteFailed,     // the workbook could not be written; an earlier one is left as it was
    WorkbookInUse,   // another program holds the earlier workbook open; it is left as it was
    ListingFailed,   // the folder could not be read; nothing was written
    Cancelled,       // stopped on request; nothing was written, an earlier workbook is left as it was
    FolderRefused,   // the workbook's folder lets no file be created (read-only, write-protected, no
                     // right to), found before the listing: nothing was written; the cause as for
                     // WriteFailed
};

// The result of one export.
struct ExportOutcome {
    ExportOutcomeKind kind = ExportOutcomeKind::DirectoryError;
    // Every listed file, for Done.
    std::int64_t fileCount = 0;
    // Where the workbook was put, for Done.
    std::u16string workbookPath;
    // What went wrong, for WriteFailed, WorkbookInUse and ListingFailed: the operation, the path (for the
    // first two the workbook's) and the system's text; for a WriteFailed replacement that stopped
    // half-way also where the new and the earlier workbook were left.
    FileSystemError cause;
    // Sub-folders that could not be read and were left out of a Done export, each with the system's
    // reason.
    std::vector<FileSystemError> skippedFolders;
    // Cells of a Done export whose text was longer than a cell holds and keeps only its end.
    std::vector<TruncatedCell> truncatedCells;
};
