#pragma once

#include <cstdint>

#include "runtime/CalendarFields.h"

// Proleptic Gregorian calendar arithmetic on day numbers counted from 30 December 1899 (day 0), the
// epoch of OLE Automation dates.

bool IsLeapYear(int year);
// Days of `month` (1..12) in `year`; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
std::int64_t DaysFromCivil(int year, int month, int day);
// The date of a day number; `dayOfWeek` and the time fields are set too (time to midnight).
CalendarFields CivilFromDays(std::int64_t days);
// 0 for Sunday to 6 for Saturday.
int DayOfWeekOfDays(std::int64_t days);
// Year 100..9999, month 1..12, day within its month, hour 0..23, minute and second 0..59. The day of
// week and the milliseconds are not looked at.
bool IsValidCalendar(const CalendarFields& fields);
