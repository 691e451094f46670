// windows.h first: oleauto.h builds on its types.
#include <windows.h>
// clang-format off
#include <oleauto.h>
// clang-format on

#include "runtime/CivilCalendar.h"
#include "runtime/OleDate.h"

// The system conversions, with the field checks of the portable build applied first so that both
// platforms accept the same fields (the system would roll 31 February over into March).
bool CalendarToOleDate(const CalendarFields& fields, double& date) {
    if (!IsValidCalendar(fields)) {
        return false;
    }
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(fields.year);
    time.wMonth = static_cast<WORD>(fields.month);
    time.wDay = static_cast<WORD>(fields.day);
    time.wHour = static_cast<WORD>(fields.hour);
    time.wMinute = static_cast<WORD>(fields.minute);
    time.wSecond = static_cast<WORD>(fields.second);
    DATE converted = 0.0;
    if (!SystemTimeToVariantTime(&time, &converted)) {
        return false;
    }
    date = converted;
    return true;
}

// The range is checked here because the system call answers NaN with a made-up date, and rounds the
// last second of 9999 into a year 10000 that no date text can hold. The weekday is recomputed: the
// system reports the weekday before a time rounded up to midnight moved the date on.
bool OleDateToCalendar(double date, CalendarFields& fields) {
    if (!IsOleDateInRange(date)) {
        return false;
    }
    SYSTEMTIME time = {};
    if (!VariantTimeToSystemTime(date, &time) || time.wYear > 9999) {
        return false;
    }
    fields.year = time.wYear;
    fields.month = time.wMonth;
    fields.day = time.wDay;
    fields.hour = time.wHour;
    fields.minute = time.wMinute;
    fields.second = time.wSecond;
    fields.milliseconds = 0;
    fields.dayOfWeek = DayOfWeekOfDays(DaysFromCivil(fields.year, fields.month, fields.day));
    return true;
}
