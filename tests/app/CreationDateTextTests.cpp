#include "app/export/cells/CreationDateText.h"
#include "app/export/filesystem/FileTimeTicks.h"
#include "tests/app/AppPrinters.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

inline constexpr std::int64_t kTicksPerHour = 3600 * kTicksPerSecond;

struct DateCase {
    const char* what;
    std::int64_t creationTime;
    std::int64_t utcOffset;
    std::u16string text;
};

TEST(CreationDateText, ShowsTheLocalDayOfTheCreationTime) {
    // 2023-07-04 16:30:00 UTC is 1688488200.
    const std::int64_t afternoon = TicksFromUnixTime(1688488200);
    // 2024-03-04 23:30:00 UTC is 1709595000.
    const std::int64_t lateEvening = TicksFromUnixTime(1709595000);
    const DateCase cases[] = {
        {"UTC", afternoon, 0, u"2023年7月4日"},
        {"east, still the same day", afternoon, 7 * kTicksPerHour, u"2023年7月4日"},
        {"east, past local midnight", afternoon, 8 * kTicksPerHour, u"2023年7月5日"},
        {"west", afternoon, -5 * kTicksPerHour, u"2023年7月4日"},
        {"half an hour after local midnight", lateEvening, 1 * kTicksPerHour, u"2024年3月5日"},
        {"leap day", TicksFromUnixTime(1709164800), 0, u"2024年2月29日"},
        {"the first tick", 0, 0, u"1601年1月1日"},
    };
    for (const DateCase& row : cases) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Text(CreationDateText(row.creationTime, row.utcOffset)), row.text);
    }
}

TEST(CreationDateText, ShowsTheFallbackDayForTimesTheDateFunctionsCannotTake) {
    const DateCase cases[] = {
        {"before 1601", -kTicksPerHour, 0, u"100年1月1日"},
        {"negative after the offset", kTicksPerHour, -2 * kTicksPerHour, u"100年1月1日"},
        // 1 January 10000 lies past the last valid date.
        {"year 10000", TicksFromUnixTime(253402300800), 0, u"100年1月1日"},
        {"overflowing offset", std::numeric_limits<std::int64_t>::max(), kTicksPerHour, u"100年1月1日"},
    };
    for (const DateCase& row : cases) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Text(CreationDateText(row.creationTime, row.utcOffset)), row.text);
    }
}

}  // namespace
