#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "runtime/CivilCalendar.h"
#include "runtime/OleDate.h"

void PrintTo(const CalendarFields& fields, std::ostream* os) {
    *os << fields.year << '-' << fields.month << '-' << fields.day << ' ' << fields.hour << ':'
        << fields.minute << ':' << fields.second << " weekday " << fields.dayOfWeek;
}

namespace {

// A readable trace line for a text that may be null.
std::string Describe(const char16_t* text) {
    return text == nullptr ? std::string("(null)") : testing::PrintToString(std::u16string(text));
}

CalendarFields Fields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    CalendarFields fields;
    fields.year = year;
    fields.month = month;
    fields.day = day;
    fields.hour = hour;
    fields.minute = minute;
    fields.second = second;
    return fields;
}

bool SameMoment(const CalendarFields& a, const CalendarFields& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

std::u16string Text(double date, bool chineseStyle, int selector = OLE_DATE_TEXT_DATE_AND_TIME) {
    char16_t out[OLE_DATE_TEXT_CAPACITY];
    int length = OleDateToText(date, chineseStyle, selector, out);
    EXPECT_EQ(static_cast<std::size_t>(length), std::char_traits<char16_t>::length(out));
    return out;
}

double Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    double date = 0.0;
    EXPECT_TRUE(CalendarToOleDate(Fields(year, month, day, hour, minute, second), date));
    return date;
}

// 5 March 2024 14:07:00, as the system conversion gives it.
constexpr double MARCH_5_2024_1407 = 45356.58819444445;

}  // namespace

TEST(OleDate, CalendarToDateGivesTheSystemsDoubles) {
    const struct {
        CalendarFields fields;
        double expected;
    } rows[] = {
        {Fields(1899, 12, 30), 0.0},
        {Fields(1899, 12, 31), 1.0},
        {Fields(1900, 1, 1), 2.0},
        {Fields(1900, 3, 1), 61.0},
        {Fields(2000, 2, 29), 36585.0},
        {Fields(2024, 3, 5, 14, 7, 0), MARCH_5_2024_1407},
        {Fields(1899, 12, 30, 6, 0, 0), 0.25},
        {Fields(1899, 12, 29, 6, 0, 0), -1.25},
        {Fields(1899, 12, 29, 23, 59, 59), -1.999988425925926},
        {Fields(1899, 12, 30, 0, 0, 1), 1.1574074074074073e-05},
        {Fields(1800, 6, 15, 18, 30, 15), -36357.771006944444},
        {Fields(100, 1, 1), OLE_DATE_MIN},
        {Fields(100, 1, 1, 12, 0, 0), -657434.5},
        {Fields(9999, 12, 31), OLE_DATE_MAX},
        {Fields(9999, 12, 31, 23, 59, 59), 2958465.999988426},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.fields));
        double date = -99.0;
        ASSERT_TRUE(CalendarToOleDate(row.fields, date));
        EXPECT_EQ(date, row.expected);
    }
}

TEST(OleDate, CalendarToDateIgnoresWeekdayAndMilliseconds) {
    CalendarFields fields = Fields(2024, 3, 5, 14, 7, 0);
    fields.dayOfWeek = 5;
    fields.milliseconds = 999;
    double date = 0.0;
    ASSERT_TRUE(CalendarToOleDate(fields, date));
    EXPECT_EQ(date, MARCH_5_2024_1407);
}

TEST(OleDate, CalendarToDateRejectsFieldsOutOfRange) {
    const CalendarFields rows[] = {
        Fields(99, 12, 31),     Fields(10000, 1, 1),       Fields(2023, 13, 1),
        Fields(2023, 0, 1),     Fields(2023, 1, 0),        Fields(2023, 1, 32),
        Fields(2023, 2, 29),    Fields(1900, 2, 29),       Fields(2023, 4, 31),
        Fields(2023, 1, 1, 24), Fields(2023, 1, 1, 0, 60), Fields(2023, 1, 1, 0, 0, 60),
        Fields(2023, 1, 1, -1), Fields(-2023, 1, 1),
    };
    for (const auto& fields : rows) {
        SCOPED_TRACE(testing::PrintToString(fields));
        double date = 123.0;
        EXPECT_FALSE(CalendarToOleDate(fields, date));
        EXPECT_EQ(date, 123.0);
    }
}

TEST(OleDate, DateToCalendarCountsTheFractionForwardFromMidnight) {
    const struct {
        double date;
        CalendarFields expected;
        int weekday;
    } rows[] = {
        {0.0, Fields(1899, 12, 30), 6},
        {-0.0, Fields(1899, 12, 30), 6},
        {-1.25, Fields(1899, 12, 29, 6, 0, 0), 5},
        {-0.25, Fields(1899, 12, 30, 6, 0, 0), 6},
        {-2.75, Fields(1899, 12, 28, 18, 0, 0), 4},
        {60.0, Fields(1900, 2, 28), 3},
        {61.0, Fields(1900, 3, 1), 4},
        {36585.0, Fields(2000, 2, 29), 2},
        {45356.588194444441, Fields(2024, 3, 5, 14, 7, 0), 2},
        {OLE_DATE_MIN, Fields(100, 1, 1), 5},
        {-657434.5, Fields(100, 1, 1, 12, 0, 0), 5},
        {-657434.9999, Fields(100, 1, 1, 23, 59, 51), 5},
        {OLE_DATE_MAX, Fields(9999, 12, 31), 5},
        {2958465.5, Fields(9999, 12, 31, 12, 0, 0), 5},
        {2958465.99998, Fields(9999, 12, 31, 23, 59, 58), 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.date);
        CalendarFields fields;
        ASSERT_TRUE(OleDateToCalendar(row.date, fields));
        EXPECT_PRED2(SameMoment, fields, row.expected);
        EXPECT_EQ(fields.dayOfWeek, row.weekday);
        EXPECT_EQ(fields.milliseconds, 0);
    }
}

TEST(OleDate, DateToCalendarRoundsToTheNearestSecond) {
    const double second = 1.0 / 86400.0;
    const struct {
        double date;
        CalendarFields expected;
        int weekday;
    } rows[] = {
        {0.5 + 0.4 * second, Fields(1899, 12, 30, 12, 0, 0), 6},
        {0.5 + 0.6 * second, Fields(1899, 12, 30, 12, 0, 1), 6},
        {0.5 + 1.5 * second, Fields(1899, 12, 30, 12, 0, 2), 6},
        {0.5 * second, Fields(1899, 12, 30, 0, 0, 1), 6},
        {-0.5 * second, Fields(1899, 12, 30, 0, 0, 1), 6},
        // Rounding up to midnight moves to the next calendar day, also before the epoch.
        {0.99999999, Fields(1899, 12, 31), 0},
        {-0.99999999, Fields(1899, 12, 31), 0},
        {-1.99999999, Fields(1899, 12, 30), 6},
        {-657434.99999999, Fields(100, 1, 2), 6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.date);
        CalendarFields fields;
        ASSERT_TRUE(OleDateToCalendar(row.date, fields));
        EXPECT_PRED2(SameMoment, fields, row.expected);
        EXPECT_EQ(fields.dayOfWeek, row.weekday);
    }
}

TEST(OleDate, DateToCalendarRejectsValuesOffTheValidDays) {
    const double rows[] = {
        -657435.0,
        2958466.0,
        2958465.9999999,  // would round into the year 10000
        1e300,
        -1e300,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
    };
    for (double date : rows) {
        SCOPED_TRACE(date);
        CalendarFields fields = Fields(1, 2, 3);
        EXPECT_FALSE(OleDateToCalendar(date, fields));
    }
}

TEST(OleDate, EveryWholeSecondSurvivesTheRoundTrip) {
    // Walks the whole calendar in uneven steps so every month, leap rule and era boundary is crossed.
    int checked = 0;
    for (std::int64_t day = -657434; day <= 2958465; day += 997) {
        CalendarFields fields = CivilFromDays(day);
        int seed = static_cast<int>(day - OLE_DATE_MIN);
        fields.hour = seed % 24;
        fields.minute = seed / 24 % 60;
        fields.second = seed / 7 % 60;
        double date = 0.0;
        ASSERT_TRUE(CalendarToOleDate(fields, date)) << testing::PrintToString(fields);
        CalendarFields back;
        ASSERT_TRUE(OleDateToCalendar(date, back)) << date;
        ASSERT_PRED2(SameMoment, back, fields) << date;
        ASSERT_EQ(back.dayOfWeek, fields.dayOfWeek) << date;
        ++checked;
    }
    EXPECT_GT(checked, 3600);
}

TEST(OleDate, BuildClampsEveryField) {
    const struct {
        int year, month, day, hour, minute, second;
        CalendarFields expected;
    } rows[] = {
        {2023, 2, 31, 0, 0, 0, Fields(2023, 2, 28)},
        {2024, 2, 31, 0, 0, 0, Fields(2024, 2, 29)},
        {1900, 2, 29, 0, 0, 0, Fields(1900, 2, 28)},
        {2000, 2, 29, 0, 0, 0, Fields(2000, 2, 29)},
        {2023, 4, 31, 0, 0, 0, Fields(2023, 4, 30)},
        {50, 0, 0, 0, 0, 0, Fields(100, 1, 1)},
        {20000, 13, 99, 0, 0, 0, Fields(9999, 12, 31)},
        {-5, -5, -5, -5, -5, -5, Fields(100, 1, 1)},
        {2024, 3, 5, 30, 75, 99, Fields(2024, 3, 5, 23, 59, 59)},
        {2024, 3, 5, 14, 7, 0, Fields(2024, 3, 5, 14, 7, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.expected));
        double date = BuildOleDate(row.year, row.month, row.day, row.hour, row.minute, row.second, -1e9);
        double expected = 0.0;
        ASSERT_TRUE(CalendarToOleDate(row.expected, expected));
        EXPECT_EQ(date, expected);
    }
}

TEST(OleDate, TextShowsTheMostSpecificTime) {
    const struct {
        double date;
        const char16_t* numeric;
        const char16_t* chinese;
    } rows[] = {
        {MARCH_5_2024_1407, u"3/5/2024 14:7", u"2024年3月5日14时7分"},
        {Date(2024, 3, 5), u"3/5/2024", u"2024年3月5日"},
        {Date(2024, 3, 5, 14, 7, 5), u"3/5/2024 14:7:5", u"2024年3月5日14时7分5秒"},
        {Date(2024, 3, 5, 14, 0, 5), u"3/5/2024 14:0:5", u"2024年3月5日14时0分5秒"},
        {Date(2024, 3, 5, 0, 0, 5), u"3/5/2024 0:0:5", u"2024年3月5日0时0分5秒"},
        {Date(2024, 3, 5, 14, 0, 0), u"3/5/2024 14", u"2024年3月5日14时"},
        {Date(2024, 3, 5, 0, 30, 0), u"3/5/2024 0:30", u"2024年3月5日0时30分"},
        {-1.25, u"12/29/1899 6", u"1899年12月29日6时"},
        {OLE_DATE_MIN, u"1/1/100", u"100年1月1日"},
        {Date(9999, 12, 31, 23, 59, 59), u"12/31/9999 23:59:59", u"9999年12月31日23时59分59秒"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.date);
        EXPECT_EQ(Text(row.date, false), row.numeric);
        EXPECT_EQ(Text(row.date, true), row.chinese);
    }
}

TEST(OleDate, TextSelectorChoosesDateOnlyOrNothing) {
    EXPECT_EQ(Text(MARCH_5_2024_1407, false, OLE_DATE_TEXT_DATE_ONLY), u"3/5/2024");
    EXPECT_EQ(Text(MARCH_5_2024_1407, true, OLE_DATE_TEXT_DATE_ONLY), u"2024年3月5日");
    for (int selector : {2, -1, 100}) {
        EXPECT_EQ(Text(MARCH_5_2024_1407, false, selector), u"") << selector;
        EXPECT_EQ(Text(MARCH_5_2024_1407, true, selector), u"") << selector;
    }
}

TEST(OleDate, TextOfAnInvalidDateIsEmpty) {
    for (double date : {-657435.0, 2958466.0, std::numeric_limits<double>::quiet_NaN(), 1e20}) {
        EXPECT_EQ(Text(date, false), u"") << date;
        EXPECT_EQ(Text(date, true), u"") << date;
    }
}

TEST(OleDate, ParsesBothStylesWithTheirSeparators) {
    const struct {
        const char16_t* text;
        bool chineseStyle;
        CalendarFields expected;
    } rows[] = {
        {u"3/5/2024 14:7", false, Fields(2024, 3, 5, 14, 7, 0)},
        {u"03-05-2024 14.07.09", false, Fields(2024, 3, 5, 14, 7, 9)},
        {u"3.5.2024-1/2:3", false, Fields(2024, 3, 5, 1, 2, 3)},
        {u"3:5:2024", false, Fields(2024, 3, 5)},
        {u"03052024", false, Fields(2024, 3, 5)},
        {u"3/5/20245", false, Fields(2024, 3, 5, 5, 0, 0)},
        {u"3//5/2024", false, Fields(100, 3, 1, 20, 24, 0)},
        {u"123/4", false, Fields(100, 12, 3)},
        {u"12/31/9999 23:59:59", false, Fields(9999, 12, 31, 23, 59, 59)},
        {u"2/31/2023", false, Fields(2023, 2, 28)},
        {u"2/29/1900", false, Fields(1900, 2, 28)},
        {u"2/29/2000", false, Fields(2000, 2, 29)},
        {u"12/29/1899 6", false, Fields(1899, 12, 29, 6, 0, 0)},
        {u"1/1/99", false, Fields(100, 1, 1)},
        {u"2024年3月5日14时7分", true, Fields(2024, 3, 5, 14, 7, 0)},
        {u"2024年3月5日14时7分8秒", true, Fields(2024, 3, 5, 14, 7, 8)},
        {u"2024年3月5日14时7分8", true, Fields(2024, 3, 5, 14, 7, 8)},
        {u"2024年3月5日14时7分89", true, Fields(2024, 3, 5, 14, 7, 59)},
        {u"2024-03-05 14:07:00", true, Fields(2024, 3, 5, 14, 7, 0)},
        {u"2024.3.5", true, Fields(2024, 3, 5)},
        {u"2024/3/5/6", true, Fields(2024, 3, 5, 6, 0, 0)},
        {u"2024", true, Fields(2024, 1, 1)},
        {u"2024年", true, Fields(2024, 1, 1)},
        {u"20240305", true, Fields(2024, 3, 5)},
        {u"1899年12月29日23时59分59秒", true, Fields(1899, 12, 29, 23, 59, 59)},
        {u"2023年2月31日", true, Fields(2023, 2, 28)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        double expected = 0.0;
        ASSERT_TRUE(CalendarToOleDate(row.expected, expected));
        EXPECT_EQ(OleDateFromText(row.text, row.chineseStyle), expected);
    }
}

TEST(OleDate, UnreadableTextGivesTheSmallestDate) {
    const struct {
        const char16_t* text;
        bool chineseStyle;
    } rows[] = {
        {nullptr, false},
        {nullptr, true},
        {u"", false},
        {u"", true},
        {u"abc", false},
        {u"3/5/2024x", false},
        {u"3/5/2024 14:7:8秒", false},
        {u"3/5/2024 14:7:8:9", false},
        {u" 3/5/2024", false},
        {u"2024年3月5日 14时", true},
        {u"2024年3月5日14时7分8秒秒", true},
        {u"2024年3月5号", true},
        {u"20245年", true},
        {u"2024年3月5日14时7分890", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        EXPECT_EQ(OleDateFromText(row.text, row.chineseStyle), OLE_DATE_MIN);
    }
}

TEST(OleDate, TextSurvivesParsingAndFormattingAgain) {
    const struct {
        const char16_t* text;
        bool chineseStyle;
    } rows[] = {
        {u"3/5/2024 14:7", false},
        {u"3/5/2024", false},
        {u"12/31/9999 23:59:59", false},
        {u"1/1/100 0:0:1", false},
        {u"2/29/2000 12", false},
        {u"2024年3月5日14时7分", true},
        {u"1899年12月29日6时", true},
        {u"100年1月1日0时0分1秒", true},
        {u"9999年12月31日23时59分59秒", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        EXPECT_EQ(Text(OleDateFromText(row.text, row.chineseStyle), row.chineseStyle), row.text);
    }
}

TEST(OleDate, DatesSurviveFormattingAndParsingAgain) {
    for (std::int64_t day = -657434; day <= 2958465; day += 7919) {
        double date = 0.0;
        CalendarFields fields = CivilFromDays(day);
        int seed = static_cast<int>(day - OLE_DATE_MIN);
        fields.hour = seed % 24;
        fields.minute = seed % 60;
        fields.second = seed % 59;
        ASSERT_TRUE(CalendarToOleDate(fields, date));
        for (bool chineseStyle : {false, true}) {
            std::u16string text = Text(date, chineseStyle);
            ASSERT_EQ(OleDateFromText(text.c_str(), chineseStyle), date) << date;
        }
    }
}
