#pragma once

#include "runtime/CVolMem.h"
#include "runtime/CWString.h"

#include <xlsxwriter.h>

// Writes `text` as a text cell without format into `worksheet`; row and column count from 0. An empty
// text leaves the cell empty. `utf8` is the caller's conversion buffer, kept from cell to cell (a
// workbook has millions of them). Returns the library's result.
lxw_error WriteCellText(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t column, const CWString& text,
                        CVolMem& utf8);
