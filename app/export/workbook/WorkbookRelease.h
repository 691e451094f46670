#pragma once

#include <xlsxwriter.h>

// Ends a workbook: workbook_close writes the file when the workbook was set up (at least one worksheet
// was added); otherwise it is only freed, since the library's close would add a worksheet itself, fail
// the same way and read through the null result. Returns the library's result (an error when freed).
lxw_error CloseOrFree(lxw_workbook* workbook, bool setUp);
