#include "app/export/workbook/WriteCellText.h"

#include "runtime/Utf8Conversion.h"

lxw_error WriteCellText(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t column, const CWString& text,
                        CVolMem& utf8) {
    return worksheet_write_string(worksheet, row, column, WideToUtf8(text.GetText(), utf8), nullptr);
}
