#include "app/export/CurrentWorkbook.h"

#include "runtime/CU8String.h"

lxw_error WriteCellText(int column, int row, const CWString& text) {
    CU8String utf8(text.GetText());
    return worksheet_write_string(currentWorksheet, static_cast<lxw_row_t>(row - 1),
                                  static_cast<lxw_col_t>(column - 1), utf8.GetText(), nullptr);
}
