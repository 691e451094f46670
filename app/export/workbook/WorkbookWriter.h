#pragma once

#include "app/export/cells/CreationDateText.h"
#include "app/export/cells/ExportColumns.h"
#include "app/export/filesystem/FileSystemError.h"
#include "app/export/listing/FileRecord.h"
#include "app/export/workbook/CellTextLimit.h"
#include "runtime/CVolMem.h"
#include "runtime/CWString.h"

#include <cstdint>
#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;

// Writes the file-list workbook through libxlsxwriter and checks every result: worksheets "Sheet1",
// "Sheet2", ... each with the columns' widths and header row (ExportColumns.h), then one row per file.
// Uses the library's constant_memory mode (rows go to a temporary file as they are finished), so memory
// stays flat however many rows there are; the cells are the same, only stored as inline strings.
//
// The writer owns its workbook and current worksheet; it records them in currentWorkbook and
// currentWorksheet for the program's record only.
class WorkbookWriter {
public:
    // Construction
    // `utcOffset`: the offset the creation dates are shown with (UtcOffset.h).
    explicit WorkbookWriter(std::int64_t utcOffset) : dates_(utcOffset) {}
    ~WorkbookWriter();  // discards a workbook still open
    WorkbookWriter(const WorkbookWriter&) = delete;
    WorkbookWriter& operator=(const WorkbookWriter&) = delete;

    // Attributes
    // What failed, once an operation has returned false.
    const FileSystemError& Error() const { return error_; }
    // File rows written so far.
    std::int64_t Rows() const { return rows_; }
    // The cells whose text was too long for a cell and was cut (CellTextLimit.h), in the order written.
    const std::vector<TruncatedCell>& TruncatedCells() const { return truncated_; }

    // Operations
    // Creates the workbook at `path`, with at most `rowsPerSheet` file rows on each worksheet; the file
    // itself is written by Close. The library keeps its own temporary files in `temporaryFolder` (the
    // system's temporary folder when empty).
    bool Open(std::u16string_view path, std::u16string_view temporaryFolder, std::int64_t rowsPerSheet);
    // Writes the file's row, first adding the next worksheet when the current one is full. A text longer
    // than a cell holds keeps its end (FitCellText) and is counted in TruncatedCells().
    bool Add(const FileRecord& file);
    // Writes the file. False when anything went wrong on the way or now.
    bool Close();
    // Drops the workbook without writing its file (a cancelled or failed export): quick whatever the
    // number of rows.
    void Discard();

private:
    bool BeginSheet(int number);
    bool WriteRow(std::int64_t row, CWString (&texts)[kExportColumnCount]);
    bool Fail(const char* operation, int libraryError);
    void Forget();

    std::u16string path_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::vector<lxw_worksheet*> sheets_;
    std::vector<TruncatedCell> truncated_;
    std::int64_t rowsPerSheet_ = 1;
    std::int64_t rows_ = 0;
    bool failed_ = false;
    CreationDateTextCache dates_;
    // The cells' UTF-8 conversion buffer: one writer serves one export on one thread.
    CVolMem utf8_;
    FileSystemError error_;
};
