#pragma once

#include "runtime/CWString.h"

// What an edit box accepts and how it tidies its text, by input type. The types:
//
//    0 text                 all characters              kept as typed
//    1 read-only            all                         kept
//    2 password             all                         kept
//    3 signed integer text  "-", digits                 kept
//    4 decimal text         "-", ".", digits            kept
//    5 byte                 digits                      integer clamped to 0..255
//    6 16-bit integer       "-", digits                 integer clamped to -32768..32767
//    7 32-bit integer       "-", digits                 integer clamped to the 32-bit range
//    8 64-bit integer       "-", digits                 integer (saturating at the 64-bit limits)
//    9 single precision     "-", ".", digits            "%.6G" of the value as a float
//   10 double precision     "-", ".", digits            "%.13G" of the value
//   11 date and time        all                         date-time text, empty for no date
//   12 date                 all                         date text, empty for no date
//   13 hexadecimal          all                         the 64-bit value in hexadecimal digits
//
// For types 5 to 10 and 13 a tidied text of "0" becomes empty. Unknown types behave as type 0.
inline constexpr int EDIT_INPUT_TEXT = 0;
inline constexpr int EDIT_INPUT_READ_ONLY = 1;
inline constexpr int EDIT_INPUT_PASSWORD = 2;
inline constexpr int EDIT_INPUT_INTEGER_TEXT = 3;
inline constexpr int EDIT_INPUT_DECIMAL_TEXT = 4;
inline constexpr int EDIT_INPUT_BYTE = 5;
inline constexpr int EDIT_INPUT_SHORT = 6;
inline constexpr int EDIT_INPUT_INT = 7;
inline constexpr int EDIT_INPUT_LONG = 8;
inline constexpr int EDIT_INPUT_FLOAT = 9;
inline constexpr int EDIT_INPUT_DOUBLE = 10;
inline constexpr int EDIT_INPUT_DATE_TIME = 11;
inline constexpr int EDIT_INPUT_DATE = 12;
inline constexpr int EDIT_INPUT_HEX = 13;

// True when a box of `inputType` takes the typed character. Control characters (below U+0020) are
// always taken, so editing keys keep working.
bool IsCharacterAccepted(int inputType, char16_t character);

// The text a box of `inputType` shows once it loses the focus. Dates are read and shown in Chinese
// style: "2024-3-5 14:07", "2024/3/5" and "2024年3月5日14时7分" are all read, and shown in the last form.
CWString NormaliseEditText(int inputType, const char16_t* text);

// The leading decimal number of `text` as wcstod reads it (blanks, sign, digits, point, exponent); 0
// when there is none or it lies outside the double range. Infinity and NaN are not read.
double ParseLeadingDouble(const char16_t* text);
