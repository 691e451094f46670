#include "app/export/WorkbookRows.h"

#include "app/export/cells/UtcOffset.h"
#include "app/export/filesystem/AbsolutePath.h"
#include "app/export/workbook/TemporaryWorkbookName.h"

#include <algorithm>

WorkbookRows::WorkbookRows(const std::u16string& outputPath, const ExportOptions& options,
                           ExportCounters& counters)
    : outputPath_(outputPath),
      options_(options),
      counters_(counters),
      rowsPerSheet_(options.dataRowsPerSheet > 0 ? std::min(options.dataRowsPerSheet, kDataRowsPerSheet)
                                                 : kDataRowsPerSheet) {}

bool WorkbookRows::WriteAll(FileRecordQueue& queue) {
    FileRecordQueue::Batch batch;
    while (!failed_ && queue.Pop(batch)) {
        for (const FileRecord& file : batch) {
            if (Cancelled() || !Add(file)) {
                break;
            }
        }
    }
    return !failed_;
}

bool WorkbookRows::Add(const FileRecord& file) {
    if (!writer_) {
        placement_.emplace(TemporaryWorkbookPath(ParentFolder(outputPath_)), TemporaryWorkbookPath,
                           IsTemporaryWorkbookName);
        writer_.emplace(CurrentUtcOffset());
        failed_ =
            !writer_->Open(placement_->LibraryPath(), placement_->LibraryTemporaryFolder(), rowsPerSheet_);
    }
    failed_ = failed_ || !writer_->Add(file);
    if (failed_) {
        return false;
    }
    if (writer_->Rows() == 1) {
        counters_.phase.store(ExportPhase::Writing, std::memory_order_relaxed);
    }
    counters_.rowsWritten.store(writer_->Rows(), std::memory_order_relaxed);
    return true;
}

bool WorkbookRows::Save(FileSystemError& error, bool& complete) {
    counters_.phase.store(ExportPhase::Saving, std::memory_order_relaxed);
    complete = !failed_ && writer_->Close();
    if (!complete) {
        error = writer_->Error();
        return false;
    }
    HeldFileRetry retry(options_.cancel, options_.heldFileWait);
    return !Cancelled() && placement_->PutInPlace(outputPath_, retry, error, options_.placementSeam);
}

void WorkbookRows::Discard() {
    writer_.reset();
    placement_.reset();
}
