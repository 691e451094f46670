#include "app/export/ExportFileList.h"

#include "app/export/FileRecordQueue.h"
#include "app/export/cells/UtcOffset.h"
#include "app/export/filesystem/AbsolutePath.h"
#include "app/export/filesystem/FileOperations.h"
#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/PathChecks.h"
#include "app/export/listing/ListFiles.h"
#include "app/export/workbook/TemporaryWorkbookName.h"
#include "app/export/workbook/WorkbookPlacement.h"
#include "app/export/workbook/WorkbookWriter.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

inline constexpr char16_t kOutputName[] = u"文件清单_.xlsx";
// Inside the export a path is a std::u16string; CWString is the text of its callers.
std::u16string TextOf(const CWString& text) {
    return std::u16string(text.GetText(), static_cast<std::size_t>(text.GetLength()));
}

std::u16string OutputPathIn(const std::u16string& folder) {
    return folder + PathSeparator() + kOutputName;
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

// The listing's end of the queue: collects records into batches and hands them over, at once while the
// writer has nothing to do (so the first rows are written as soon as the first files are found).
class QueueSink : public ListingSink {
public:
    explicit QueueSink(FileRecordQueue& queue) : queue_(queue) {
        batch_.reserve(FileRecordQueue::kBatchSize);
    }

    void OnFile(FileRecord&& file) override {
        // The export's own temporary workbooks, and those a killed export left, are never rows.
        if (IsTemporaryWorkbookName(file.Name())) {
            return;
        }
        batch_.push_back(std::move(file));
        if (batch_.size() == FileRecordQueue::kBatchSize || queue_.Empty()) {
            Flush();
        }
    }

    bool ShouldStop() const override { return queue_.Stopped(); }

    void Flush() {
        if (!batch_.empty()) {
            queue_.Push(std::move(batch_));
            batch_.clear();
            batch_.reserve(FileRecordQueue::kBatchSize);
        }
    }

private:
    FileRecordQueue& queue_;
    FileRecordQueue::Batch batch_;
};

// What the listing thread leaves for the writer; read only after the thread has been joined.
struct ListingResult {
    bool complete = false;
    FileSystemError error;
    std::vector<FileSystemError> skippedFolders;
};

void RunListing(const std::u16string& folder, bool includeSubfolders, FileRecordQueue& queue,
                ListingResult& result) {
    QueueSink sink(queue);
    result.complete = includeSubfolders
                          ? ListFilesRecursive(folder, sink, nullptr, result.error, &result.skippedFolders)
                          : ListFiles(folder, sink, nullptr, result.error);
    if (result.complete) {
        sink.Flush();
        queue.Close();
    } else {
        // The export fails: the writer need not finish the rows still queued.
        queue.Stop();
    }
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

// The listing runs on a thread of its own and feeds the writer, on this thread, through a short queue:
// the rows are written while the tree is still being listed, and only the few records in the queue are
// held. The workbook is made when the first file arrives.
ExportOutcome ExportFileList(const CWString& typedFolder, bool includeSubfolders,
                             const ExportOptions& options) {
    // A relative text is made absolute first: the listed paths, the path cells and the workbook's place
    // then agree.
    const std::u16string folderText = AbsolutePath(TextOf(typedFolder));
    if (!PathExists(folderText) || !IsFolder(folderText)) {
        return Outcome(ExportOutcomeKind::DirectoryError);
    }
    std::int64_t rowsPerSheet = options.dataRowsPerSheet > 0 ? options.dataRowsPerSheet : kDataRowsPerSheet;
    if (rowsPerSheet > kDataRowsPerSheet) {
        rowsPerSheet = kDataRowsPerSheet;
    }
    const std::u16string outputPath =
        options.outputPath.empty() ? OutputPathIn(folderText) : AbsolutePath(options.outputPath);
    // A workbook open in another program (Excel) could not be replaced at the end: the user hears it
    // now, not after the whole tree has been listed and written.
    FileSystemError held;
    if (IsHeldOpenElsewhere(outputPath, held)) {
        return Outcome(ExportOutcomeKind::WorkbookInUse, 0, std::move(held));
    }

    FileRecordQueue queue(options.cancel);
    ListingResult listing;
    std::thread lister(RunListing, std::cref(folderText), includeSubfolders, std::ref(queue),
                       std::ref(listing));

    const std::int64_t progressInterval = options.progressInterval > 0 ? options.progressInterval : 1;
    // The placement goes after the writer has let go of the temporary workbook (reverse order).
    std::optional<WorkbookPlacement> placement;
    std::optional<WorkbookWriter> writer;
    bool written = true;
    FileRecordQueue::Batch batch;
    while (written && queue.Pop(batch)) {
        for (const FileRecord& file : batch) {
            if (Cancelled(options)) {
                break;
            }
            if (!writer) {
                placement.emplace(TemporaryWorkbookPath(ParentFolder(outputPath)), TemporaryWorkbookPath);
                writer.emplace(CurrentUtcOffset());
                written =
                    writer->Open(placement->LibraryPath(), placement->LibraryTemporaryFolder(), rowsPerSheet);
            }
            written = written && writer->Add(file);
            if (!written) {
                break;
            }
            if (options.observer != nullptr && writer->Rows() % progressInterval == 0) {
                options.observer->OnProgress(queue.Listed(), writer->Rows());
            }
        }
    }
    // The listing ends at its next entry once the writer has stopped.
    queue.Stop();
    lister.join();
    std::int64_t rows = writer ? writer->Rows() : 0;
    if (options.observer != nullptr) {
        options.observer->OnProgress(queue.Listed(), rows);
    }

    // The earlier workbook is replaced only by a complete new one; the placement removes what an
    // abandoned one left behind.
    auto discard = [&] {
        writer.reset();
        placement.reset();
    };
    if (Cancelled(options)) {
        discard();
        return Outcome(ExportOutcomeKind::Cancelled);
    }
    if (!listing.complete) {
        discard();
        return Outcome(ExportOutcomeKind::ListingFailed, 0, std::move(listing.error));
    }
    if (!writer) {
        return Outcome(ExportOutcomeKind::NoFiles);
    }
    FileSystemError error;
    bool placed = written && writer->Close();
    const bool writtenInFull = placed;
    if (!placed) {
        error = writer->Error();
    } else {
        HeldFileRetry retry(options.cancel, options.heldFileWait);
        placed =
            !Cancelled(options) && placement->PutInPlace(outputPath, retry, error, options.placementSeam);
    }
    if (!placed) {
        discard();
        if (Cancelled(options)) {
            return Outcome(ExportOutcomeKind::Cancelled);
        }
        // Taken by another program while the export ran, and still held when the tries ran out.
        if (writtenInFull && IsHeldOpenElsewhere(outputPath, held)) {
            return Outcome(ExportOutcomeKind::WorkbookInUse, queue.Listed(), std::move(held));
        }
        // The user knows the workbook, not its temporary name.
        error.path = ReplaceLoneSurrogates(outputPath);
        return Outcome(ExportOutcomeKind::WriteFailed, queue.Listed(), std::move(error));
    }
    ExportOutcome done = Outcome(ExportOutcomeKind::Done, rows);
    done.skippedFolders = std::move(listing.skippedFolders);
    return done;
}
