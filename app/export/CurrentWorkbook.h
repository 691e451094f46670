#pragma once

#include "runtime/CWString.h"

#include <xlsxwriter.h>

// The workbook and worksheet being written, process-wide: the export sets them, WriteCellText writes
// into the worksheet. Both are null outside an export, since the library frees them when the workbook
// is closed.
inline lxw_workbook* currentWorkbook = nullptr;
inline lxw_worksheet* currentWorksheet = nullptr;

// Writes `text` as a text cell without format into currentWorksheet; column and row count from 1.
// An empty text leaves the cell empty. Returns the library's result.
lxw_error WriteCellText(int column, int row, const CWString& text);
