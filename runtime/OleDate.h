#pragma once

#include <cstddef>

#include "runtime/CalendarFields.h"

// OLE Automation dates: days since 30 December 1899 as a double. The whole part counts days (negative
// before the epoch) and the fraction, whatever the sign, counts forward from midnight: -1.25 is
// 29 December 1899 06:00.

// 1 January 100 and 31 December 9999, the first and last valid days.
inline constexpr double OLE_DATE_MIN = -657434.0;
inline constexpr double OLE_DATE_MAX = 2958465.0;
// Enough for any date text with its NUL ("12/31/9999 23:59:59", "9999年12月31日23时59分59秒").
inline constexpr std::size_t OLE_DATE_TEXT_CAPACITY = 32;

inline constexpr int OLE_DATE_TEXT_DATE_AND_TIME = 0;
inline constexpr int OLE_DATE_TEXT_DATE_ONLY = 1;

// True for a value on any valid day, from 1 January 100 00:00 to 31 December 9999 23:59:59.
bool IsOleDateInRange(double date);

// Calendar fields to a date. Fails for fields IsValidCalendar rejects; day of week and milliseconds are
// ignored. On Windows this is SystemTimeToVariantTime.
bool CalendarToOleDate(const CalendarFields& fields, double& date);
// A date to calendar fields, rounded to the nearest second (milliseconds are 0). Fails for a value out
// of range, NaN, or one that rounds past 31 December 9999. On Windows this is VariantTimeToSystemTime.
bool OleDateToCalendar(double date, CalendarFields& fields);

// Clamps year to 100..9999, month to 1..12, day to 1..31 and then to the month, hour to 0..23, minute
// and second to 0..59, and converts; `fallback` when the conversion fails.
double BuildOleDate(int year, int month, int day, int hour, int minute, int second, double fallback);

// "%d/%d/%d" (month, day, year) or, in Chinese style, "%d年%d月%d日"; with OLE_DATE_TEXT_DATE_AND_TIME
// the time follows in its shortest form that keeps every non-zero field. Any other selector, or a date
// that does not convert, gives the empty text. `out` holds at least OLE_DATE_TEXT_CAPACITY units.
// Returns the length.
int OleDateToText(double date, bool chineseStyle, int selector, char16_t* out);
// Reads a date in the style of OleDateToText (both date orders, several separators); returns
// OLE_DATE_MIN for null, empty or unreadable text.
double OleDateFromText(const char16_t* text, bool chineseStyle);
