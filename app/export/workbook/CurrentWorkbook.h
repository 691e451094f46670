#pragma once

#include <xlsxwriter.h>

#include <atomic>

// The workbook and worksheet being written, process-wide: the program's record of the export under way.
// The writer sets them and nothing reads them back; both are null outside an export, since the library
// frees them when the workbook is closed.
inline std::atomic<lxw_workbook*> currentWorkbook{nullptr};
inline std::atomic<lxw_worksheet*> currentWorksheet{nullptr};

void RecordCurrentWorkbook(lxw_workbook* workbook, lxw_worksheet* worksheet);
