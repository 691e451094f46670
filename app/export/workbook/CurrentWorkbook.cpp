#include "app/export/workbook/CurrentWorkbook.h"

void RecordCurrentWorkbook(lxw_workbook* workbook, lxw_worksheet* worksheet) {
    currentWorkbook.store(workbook, std::memory_order_relaxed);
    currentWorksheet.store(worksheet, std::memory_order_relaxed);
}
