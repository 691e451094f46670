#pragma once

// A calendar date and time of day, laid out like the Win32 SYSTEMTIME: year (100..9999 where dates are
// valid), month 1..12, day of week 0..6 from Sunday, day 1..31, hour, minute, second, milliseconds.
// A plain record, so its members carry no trailing underscore.
struct CalendarFields {
    int year = 0;
    int month = 0;
    int dayOfWeek = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};
