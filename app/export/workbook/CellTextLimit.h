#pragma once

#include "runtime/CWString.h"

#include <cstdint>

// A cell of an .xlsx workbook holds at most 32,767 characters, counted in UTF-16 code units as the
// format counts them; the library refuses a longer text and would leave the cell empty.
inline constexpr std::int64_t kCellTextLimit = 32767;

// A cell whose text was too long and was cut to fit.
struct TruncatedCell {
    int sheet = 1;         // "Sheet1" is 1
    std::int64_t row = 0;  // as the worksheet shows it, from 1 (the header's row)
    int column = 0;        // from 0 ("A")
};

// Cuts `text` to the limit when it is longer, keeping its end after a leading "…": the end of a path is
// the file's name, the part that tells the file. A surrogate pair is never split. True when it cut.
bool FitCellText(CWString& text);
