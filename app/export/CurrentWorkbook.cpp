#include "app/export/CurrentWorkbook.h"

#include "runtime/Utf8Conversion.h"

void RecordCurrentWorkbook(lxw_workbook* workbook, lxw_worksheet* worksheet) {
    currentWorkbook.store(workbook, std::memory_order_relaxed);
    currentWorksheet.store(worksheet, std::memory_order_relaxed);
}

lxw_error WriteCellText(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t column, const CWString& text,
                        CVolMem& utf8) {
    return worksheet_write_string(worksheet, row, column, WideToUtf8(text.GetText(), utf8), nullptr);
}
