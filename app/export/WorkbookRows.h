#pragma once

#include "app/export/ExportOptions.h"
#include "app/export/FileRecordQueue.h"
#include "app/export/ProgressReporter.h"
#include "app/export/filesystem/FileSystemError.h"
#include "app/export/workbook/WorkbookPlacement.h"
#include "app/export/workbook/WorkbookWriter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The writing side of one export, on the thread that runs it: takes the records off the queue and
// writes their rows, making the workbook (under a temporary name) when the first file arrives, then
// saves it in place of the real one when complete. Dropped unsaved, it leaves nothing behind.
class WorkbookRows {
public:
    WorkbookRows(const std::u16string& outputPath, const ExportOptions& options, ExportCounters& counters);

    // Attributes
    // True once the first file has come: there is a workbook to save or drop.
    bool Started() const { return writer_.has_value(); }
    std::int64_t Count() const { return writer_ ? writer_->Rows() : 0; }
    // The cells cut to fit so far.
    std::vector<TruncatedCell> TruncatedCells() const {
        return writer_ ? writer_->TruncatedCells() : std::vector<TruncatedCell>();
    }

    // Operations
    // Writes every record until the listing ends, the export is cancelled or writing fails (false).
    bool WriteAll(FileRecordQueue& queue);
    // Writes the workbook's file and moves it over the real one, trying again while another program
    // holds one for a moment. False with `error` when it failed; `complete` tells whether the workbook
    // itself was written in full (then only putting it in place failed).
    bool Save(FileSystemError& error, bool& complete);
    // Drops the workbook: removes its temporary file; an earlier workbook stays as it was.
    void Discard();

private:
    bool Add(const FileRecord& file);
    bool Cancelled() const { return options_.cancel != nullptr && options_.cancel->IsSet(); }

    const std::u16string& outputPath_;
    const ExportOptions& options_;
    ExportCounters& counters_;
    std::int64_t rowsPerSheet_;
    // The placement goes after the writer has let go of the temporary workbook (reverse order).
    std::optional<WorkbookPlacement> placement_;
    std::optional<WorkbookWriter> writer_;
    bool failed_ = false;
};
