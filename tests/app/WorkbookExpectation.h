#pragma once

#include "app/export/cells/ExportColumns.h"

#include <array>
#include <string>
#include <vector>

// What a test expects of a written workbook, checked by an independent reader (openpyxl, through
// tests/app/read_workbook.py). Every sheet has the column table's widths and header row (ExportColumns.h).
struct WorkbookExpectation {
    using Row = std::array<std::u16string, kExportColumnCount>;

    struct Sheet {
        std::u16string name;
        std::vector<Row> rows;  // the file rows, without the header
    };

    std::vector<Sheet> sheets;
    // The file system's order is not the test's to know: compare the rows as a set.
    bool anyOrder = true;
    // The rows under every folder form one block (a depth-first, pre-order walk).
    bool subtreesContiguous = false;
    // Column B must follow the reader's own os.scandir walk of this folder (POSIX only).
    std::u16string preorderRoot;

    // One sheet "Sheet1" holding `rows`.
    static WorkbookExpectation SingleSheet(std::vector<Row> rows);
    // The expectation as JSON for read_workbook.py, with "workbook" naming the file to compare.
    std::string ToJson(const std::string& workbookName) const;
};

// Fails the running test when the workbook at `path` does not match. Natively the reader runs at once;
// under Wine it cannot, so the workbook and the expectation are copied to the read-back folder and
// compared by the CTest step that follows the Windows tests (read_workbook.py --check-dir).
void ExpectWorkbook(const std::u16string& path, const WorkbookExpectation& expected);
