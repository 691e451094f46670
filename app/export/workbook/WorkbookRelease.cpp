#include "app/export/workbook/WorkbookRelease.h"

lxw_error CloseOrFree(lxw_workbook* workbook, bool setUp) {
    if (setUp) {
        return workbook_close(workbook);
    }
    lxw_workbook_free(workbook);
    return LXW_ERROR_CREATING_TMPFILE;
}
