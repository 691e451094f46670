#pragma once

#include "app/export/FileSystemError.h"
#include "runtime/CWString.h"

#include <cstdint>
#include <string>
#include <vector>

struct lxw_worksheet;

// Writes the file-list workbook through libxlsxwriter and checks every result: worksheets "Sheet1",
// "Sheet2", ... each with the column widths and the header row, then the file rows. Uses the library's
// constant_memory mode (rows go to a temporary file as they are finished), so memory stays flat however
// many rows there are; the cells are the same, only stored as inline strings.
//
// Sets currentWorkbook and currentWorksheet while it writes and clears them when the workbook is closed.
class WorkbookWriter {
public:
    static inline constexpr int kColumns = 5;

    // Construction
    WorkbookWriter() = default;
    ~WorkbookWriter();  // closes a workbook still open, discarding the result
    WorkbookWriter(const WorkbookWriter&) = delete;
    WorkbookWriter& operator=(const WorkbookWriter&) = delete;

    // Attributes
    // What failed, once an operation has returned false.
    const FileSystemError& Error() const { return error_; }

    // Operations
    // Creates the workbook at `path`; the file itself is written by Close. The library keeps its own
    // temporary files in `temporaryFolder` (the system's temporary folder when empty).
    bool Open(std::u16string_view path, std::u16string_view temporaryFolder = {});
    // Adds worksheet number `number` (from 1) with the widths and header; rows go to it from then on.
    bool BeginSheet(int number);
    // Writes one row of the current worksheet; `row` counts from 1 (row 1 is the header). A text longer
    // than the library's cell limit (32,767 characters) is refused by it and leaves that cell empty.
    bool WriteRow(int row, const CWString* const (&texts)[kColumns]);
    // Writes the file. False when anything went wrong on the way or now.
    bool Close();

private:
    bool Fail(const char* operation, int libraryError);

    std::u16string path_;
    bool open_ = false;
    bool failed_ = false;
    std::vector<lxw_worksheet*> sheets_;
    FileSystemError error_;
};
