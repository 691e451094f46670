#include "app/export/ExportFileList.h"

#include "app/export/FileRecordQueue.h"
#include "app/export/ListingThread.h"
#include "app/export/ProgressReporter.h"
#include "app/export/WorkbookRows.h"
#include "app/export/filesystem/AbsolutePath.h"
#include "app/export/filesystem/FileOperations.h"
#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/FolderRefusal.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/PathChecks.h"
#include "app/export/workbook/TemporaryWorkbookName.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

inline constexpr char16_t kOutputName[] = u"文件清单_.xlsx";

// How long the check before the listing waits for a short hold on the workbook to end.
inline constexpr std::chrono::milliseconds kHeldWorkbookCheckWait{2000};

// Inside the export a path is a std::u16string; CWString is the text of its callers.
std::u16string TextOf(const CWString& text) {
    return std::u16string(text.GetText(), static_cast<std::size_t>(text.GetLength()));
}

bool Cancelled(const ExportOptions& options) {
    return options.cancel != nullptr && options.cancel->IsSet();
}

ExportOutcome Outcome(ExportOutcomeKind kind, std::int64_t fileCount = 0, FileSystemError cause = {}) {
    ExportOutcome outcome;
    outcome.kind = kind;
    outcome.fileCount = fileCount;
    outcome.cause = std::move(cause);
    return outcome;
}

// One separator is added even after a trailing one: the folder text is kept exactly as typed.
std::u16string OutputPathIn(std::u16string_view folder) {
    std::u16string path(folder);
    path += PathSeparator();
    path += kOutputName;
    return path;
}

std::u16string OutputPathOf(const std::u16string& folder, const ExportOptions& options) {
    return options.outputPath.empty() ? OutputPathIn(folder) : AbsolutePath(options.outputPath);
}

std::u16string_view NameOf(std::u16string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

// Why the workbook could not be saved, once it had been dropped.
ExportOutcome NotSaved(FileSystemError error, bool complete, std::int64_t listed,
                       const std::u16string& outputPath, const ExportOptions& options) {
    if (Cancelled(options)) {
        return Outcome(ExportOutcomeKind::Cancelled);
    }
    // Taken by another program while the export ran, and still held when the tries ran out.
    FileSystemError held;
    if (complete && IsHeldOpenElsewhere(outputPath, held)) {
        return Outcome(ExportOutcomeKind::WorkbookInUse, listed, std::move(held));
    }
    // The user knows the workbook, not its temporary name.
    error.path = ReplaceLoneSurrogates(outputPath);
    return Outcome(ExportOutcomeKind::WriteFailed, listed, std::move(error));
}

// The earlier workbook is replaced only by a complete new one; a dropped one leaves nothing behind.
ExportOutcome Conclude(WorkbookRows& rows, ListingThread& listing, std::int64_t listed,
                       const std::u16string& outputPath, const ExportOptions& options) {
    if (Cancelled(options)) {
        rows.Discard();
        return Outcome(ExportOutcomeKind::Cancelled);
    }
    if (!listing.Complete()) {
        rows.Discard();
        return Outcome(ExportOutcomeKind::ListingFailed, 0, std::move(listing.Error()));
    }
    if (!rows.Started()) {
        return Outcome(ExportOutcomeKind::NoFiles);
    }
    FileSystemError error;
    bool complete = false;
    if (!rows.Save(error, complete)) {
        rows.Discard();
        return NotSaved(std::move(error), complete, listed, outputPath, options);
    }
    ExportOutcome done = Outcome(ExportOutcomeKind::Done, rows.Count());
    done.workbookPath = outputPath;
    done.skippedFolders = std::move(listing.SkippedFolders());
    done.truncatedCells = rows.TruncatedCells();
    return done;
}

// A folder that takes no new file (a DVD, a read-only share) is found before anything is listed, so
// that the window can offer another place at once.
bool WorkbookFolderRefuses(const std::u16string& outputPath, ExportOutcome& outcome) {
    const std::size_t separator = LastSeparator(outputPath);  // the path is absolute: there is one
    FileSystemError error;
    if (!FolderRefusesNewFiles(TemporaryWorkbookPath(std::u16string_view(outputPath).substr(0, separator)),
                               error)) {
        return false;
    }
    error.path = ReplaceLoneSurrogates(outputPath);  // the user knows the workbook, not the probe
    outcome = Outcome(ExportOutcomeKind::FolderRefused, 0, std::move(error));
    return true;
}

// The listing runs on a thread of its own and feeds the writer, on this thread, through a short queue:
// the rows are written while the tree is still being listed, and only the few records in the queue are
// held.
ExportOutcome ListAndWrite(const std::u16string& folder, bool includeSubfolders,
                           const std::u16string& outputPath, const ExportOptions& options,
                           ExportCounters& counters) {
    FileRecordQueue queue(options.cancel);
    ListingThread listing(folder, includeSubfolders, options.listingSeam, queue, counters);
    WorkbookRows rows(outputPath, options, counters);
    rows.WriteAll(queue);
    listing.Join();
    return Conclude(rows, listing, queue.Listed(), outputPath, options);
}

// A workbook open in another program (Excel) could not be replaced at the end: the user hears it now,
// not after the whole tree has been listed and written. A scanner or indexer that reads the last
// workbook for a moment is waited out, briefly: an open workbook is still told within about two
// seconds. False when the workbook is free (or not there); otherwise `outcome` says why the export ends.
bool WorkbookStaysHeld(const std::u16string& outputPath, const ExportOptions& options,
                       ExportOutcome& outcome) {
    HeldFileRetry retry(options.cancel, std::min(kHeldWorkbookCheckWait, options.heldFileWait));
    FileSystemError held;
    while (IsHeldOpenElsewhere(outputPath, held)) {
        if (!retry.WaitForNextTry()) {
            outcome = Cancelled(options) ? Outcome(ExportOutcomeKind::Cancelled)
                                         : Outcome(ExportOutcomeKind::WorkbookInUse, 0, std::move(held));
            return true;
        }
    }
    return false;
}

}  // namespace

CWString ExportOutputPath(const CWString& folder) {
    const std::u16string path = OutputPathIn(TextOf(folder));
    CWString text;
    text.SetUnits(path.data(), static_cast<std::int64_t>(path.size()));
    return text;
}

ExportOutcome ExportFileList(const CWString& folder, bool includeSubfolders) {
    return ExportFileList(folder, includeSubfolders, ExportOptions{});
}

ExportOutcome ExportFileList(const CWString& typedFolder, bool includeSubfolders,
                             const ExportOptions& options) {
    // A relative text is made absolute first: the listed paths, the path cells and the workbook's place
    // then agree.
    const std::u16string folder = AbsolutePath(TextOf(typedFolder));
    // "目录错误" says the folder is not there; a folder the system could not look at is a failure.
    FileSystemError lookup;
    if (!PathExists(folder, lookup) || !IsFolder(folder, lookup)) {
        return lookup.code != 0 ? Outcome(ExportOutcomeKind::ListingFailed, 0, std::move(lookup))
                                : Outcome(ExportOutcomeKind::DirectoryError);
    }
    const std::u16string outputPath = OutputPathOf(folder, options);
    if (ExportOutcome held; WorkbookStaysHeld(outputPath, options, held)) {
        return held;
    }
    if (ExportOutcome refused; WorkbookFolderRefuses(outputPath, refused)) {
        return refused;
    }
    ExportCounters counters;
    ProgressReporter reporter(options.observer, counters, NameOf(outputPath));
    ExportOutcome outcome = ListAndWrite(folder, includeSubfolders, outputPath, options, counters);
    reporter.Stop();
    return outcome;
}
