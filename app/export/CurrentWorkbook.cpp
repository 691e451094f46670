#include "app/export/CurrentWorkbook.h"

#include "runtime/CVolMem.h"
#include "runtime/Utf8Conversion.h"

lxw_error WriteCellText(int column, int row, const CWString& text) {
    // One conversion buffer serves every cell: a workbook has millions of them.
    thread_local CVolMem utf8;
    return worksheet_write_string(currentWorksheet, static_cast<lxw_row_t>(row - 1),
                                  static_cast<lxw_col_t>(column - 1), WideToUtf8(text.GetText(), utf8),
                                  nullptr);
}
