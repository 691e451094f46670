#include "runtime/OleDate.h"

#include <algorithm>
#include <string_view>

#include "runtime/CivilCalendar.h"
#include "runtime/WideFormat.h"

namespace {

// Past these the value no longer lies on a valid day (the fraction of a negative value counts forward,
// so the whole of 1 January 100 lies between -657435 and -657434).
inline constexpr double OLE_DATE_LOWER_BOUND = OLE_DATE_MIN - 1.0;
inline constexpr double OLE_DATE_UPPER_BOUND = OLE_DATE_MAX + 1.0;

inline constexpr std::u16string_view DATE_SEPARATORS = u"-./:";
inline constexpr std::u16string_view DAY_END_SEPARATORS = u" -./:";

// Reads up to `maxDigits` decimal digits; none read counts as 0.
int ReadNumber(const char16_t*& cursor, int maxDigits) {
    int value = 0;
    for (int i = 0; i < maxDigits && *cursor >= u'0' && *cursor <= u'9'; ++i, ++cursor) {
        value = value * 10 + (*cursor - u'0');
    }
    return value;
}

// Skips one unit when it is in `separators` or equals `marker` (0 for none).
void SkipSeparator(const char16_t*& cursor, std::u16string_view separators, char16_t marker) {
    if (*cursor != u'\0' && (*cursor == marker || separators.find(*cursor) != std::u16string_view::npos)) {
        ++cursor;
    }
}

int AppendTime(const CalendarFields& fields, bool chineseStyle, char16_t* out, std::size_t capacity) {
    if (fields.second != 0) {
        return FormatWide(out, capacity, chineseStyle ? u"%d时%d分%d秒" : u" %d:%d:%d", fields.hour,
                          fields.minute, fields.second);
    }
    if (fields.minute != 0) {
        return FormatWide(out, capacity, chineseStyle ? u"%d时%d分" : u" %d:%d", fields.hour, fields.minute);
    }
    if (fields.hour != 0) {
        return FormatWide(out, capacity, chineseStyle ? u"%d时" : u" %d", fields.hour);
    }
    out[0] = u'\0';
    return 0;
}

}  // namespace

bool IsOleDateInRange(double date) {
    return date > OLE_DATE_LOWER_BOUND && date < OLE_DATE_UPPER_BOUND;
}

double BuildOleDate(int year, int month, int day, int hour, int minute, int second, double fallback) {
    CalendarFields fields;
    fields.year = std::clamp(year, 100, 9999);
    fields.month = std::clamp(month, 1, 12);
    fields.day = std::clamp(std::clamp(day, 1, 31), 1, DaysInMonth(fields.year, fields.month));
    fields.hour = std::clamp(hour, 0, 23);
    fields.minute = std::clamp(minute, 0, 59);
    fields.second = std::clamp(second, 0, 59);
    double date = 0.0;
    return CalendarToOleDate(fields, date) ? date : fallback;
}

int OleDateToText(double date, bool chineseStyle, int selector, char16_t* out) {
    out[0] = u'\0';
    CalendarFields fields;
    if ((selector != OLE_DATE_TEXT_DATE_AND_TIME && selector != OLE_DATE_TEXT_DATE_ONLY) ||
        !OleDateToCalendar(date, fields)) {
        return 0;
    }
    int length =
        chineseStyle
            ? FormatWide(out, OLE_DATE_TEXT_CAPACITY, u"%d年%d月%d日", fields.year, fields.month, fields.day)
            : FormatWide(out, OLE_DATE_TEXT_CAPACITY, u"%d/%d/%d", fields.month, fields.day, fields.year);
    if (selector == OLE_DATE_TEXT_DATE_AND_TIME) {
        length += AppendTime(fields, chineseStyle, out + length, OLE_DATE_TEXT_CAPACITY - length);
    }
    return length;
}

double OleDateFromText(const char16_t* text, bool chineseStyle) {
    if (text == nullptr || *text == u'\0') {
        return OLE_DATE_MIN;
    }
    const char16_t* cursor = text;
    int year = 0;
    int month = 0;
    int day = 0;
    if (chineseStyle) {
        year = ReadNumber(cursor, 4);
        SkipSeparator(cursor, DATE_SEPARATORS, u'年');
        month = ReadNumber(cursor, 2);
        SkipSeparator(cursor, DATE_SEPARATORS, u'月');
        day = ReadNumber(cursor, 2);
        SkipSeparator(cursor, DAY_END_SEPARATORS, u'日');
    } else {
        month = ReadNumber(cursor, 2);
        SkipSeparator(cursor, DATE_SEPARATORS, 0);
        day = ReadNumber(cursor, 2);
        SkipSeparator(cursor, DATE_SEPARATORS, 0);
        year = ReadNumber(cursor, 4);
        SkipSeparator(cursor, DAY_END_SEPARATORS, 0);
    }
    int hour = ReadNumber(cursor, 2);
    SkipSeparator(cursor, DATE_SEPARATORS, chineseStyle ? u'时' : 0);
    int minute = ReadNumber(cursor, 2);
    SkipSeparator(cursor, DATE_SEPARATORS, chineseStyle ? u'分' : 0);
    int second = ReadNumber(cursor, 2);
    if (chineseStyle && *cursor == u'秒') {
        ++cursor;
    }
    if (*cursor != u'\0') {
        return OLE_DATE_MIN;
    }
    return BuildOleDate(year, month, day, hour, minute, second, OLE_DATE_MIN);
}
