#include "runtime/CivilCalendar.h"

namespace {

inline constexpr int MIN_YEAR = 100;
inline constexpr int MAX_YEAR = 9999;
// Day number of 1 March of year 0 (proleptic Gregorian) relative to 30 December 1899.
inline constexpr std::int64_t DAYS_FROM_YEAR_ZERO = 693899;
inline constexpr std::int64_t DAYS_PER_ERA = 146097;  // 400 Gregorian years
inline constexpr int SATURDAY = 6;                    // the weekday of day 0

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    return (value % divisor < 0) ? quotient - 1 : quotient;
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return (month == 2 && IsLeapYear(year)) ? 29 : lengths[month - 1];
}

// Years are counted from 1 March so that the leap day falls at the end of the year; an era is the
// 400-year cycle of the Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day) {
    std::int64_t shiftedYear = month <= 2 ? year - 1 : year;
    std::int64_t era = FloorDivide(shiftedYear, 400);
    std::int64_t yearOfEra = shiftedYear - era * 400;
    std::int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
    std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * DAYS_PER_ERA + dayOfEra - DAYS_FROM_YEAR_ZERO;
}

CalendarFields CivilFromDays(std::int64_t days) {
    std::int64_t fromYearZero = days + DAYS_FROM_YEAR_ZERO;
    std::int64_t era = FloorDivide(fromYearZero, DAYS_PER_ERA);
    std::int64_t dayOfEra = fromYearZero - era * DAYS_PER_ERA;
    std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    CalendarFields fields;
    fields.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    fields.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    fields.year = static_cast<int>(yearOfEra + era * 400 + (fields.month <= 2 ? 1 : 0));
    fields.dayOfWeek = DayOfWeekOfDays(days);
    return fields;
}

int DayOfWeekOfDays(std::int64_t days) {
    std::int64_t weekday = (days + SATURDAY) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

bool IsValidCalendar(const CalendarFields& fields) {
    return fields.year >= MIN_YEAR && fields.year <= MAX_YEAR && fields.month >= 1 && fields.month <= 12 &&
           fields.day >= 1 && fields.day <= DaysInMonth(fields.year, fields.month) && fields.hour >= 0 &&
           fields.hour <= 23 && fields.minute >= 0 && fields.minute <= 59 && fields.second >= 0 &&
           fields.second <= 59;
}
