#include "app/export/cells/CreationDateText.h"
#include "app/export/filesystem/FileTimeTicks.h"
#include "app/export/listing/CreationTime.h"
#include "app/export/listing/DirectoryListing.h"
#include "app/export/listing/DirectoryReader.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
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

// A birth time of zero is unknown, whichever clock's zero it is: the row shows the last modification.
TEST(CreationTimeOf, TakesTheModificationTimeWhenTheBirthTimeIsZero) {
    const std::int64_t modified = TicksFromUnixTime(1688488200);
    const std::int64_t born = TicksFromUnixTime(1600000000);
    const struct {
        const char* what;
        std::int64_t birth;
        std::int64_t shown;
    } cases[] = {
        {"a birth time", born, born},
        {"none, or a FILETIME of zero", 0, modified},
        {"the Unix epoch, as statx gives it for files of an image made without birth times", kUnixEpochTicks,
         modified},
        {"a tick after the Unix epoch", kUnixEpochTicks + 1, kUnixEpochTicks + 1},
        {"a tick after 1601", 1, 1},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(CreationTimeOf(row.birth, modified), row.shown);
    }
}

// A file modified 1000 days before the test: the listing's own status of it, once as the system gives
// it and once with the birth time zero, as a disk image made without birth times gives it.
TEST(CreationTimeOf, GivesTheModificationDayOfAListedFileWhoseBirthTimeIsZero) {
    TempTree tree;
    tree.MakeFile(u"old.txt");
    const std::filesystem::path path(tree.Path(u"old.txt"));
    const auto modified = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 1000);
    std::filesystem::last_write_time(path, modified);
    const auto sinceUnixEpoch = std::chrono::file_clock::to_sys(modified).time_since_epoch();
    const std::int64_t expected =
        TicksFromUnixTime(0, std::chrono::duration_cast<std::chrono::nanoseconds>(sinceUnixEpoch).count());

    int code = 0;
    auto listing = DirectoryListing::Open(RawPathOf(tree.Root()), true, code);
    ASSERT_NE(listing, nullptr) << code;
    RawFolderPath name;
    bool isLink = false;
    while (listing->Next(name, isLink, code) && name != RawPathOf(u"old.txt")) {
    }
    ASSERT_EQ(name, RawPathOf(u"old.txt")) << code;
    EntryStatus status;
    ASSERT_EQ(listing->Status(name, isLink, status), 0);
    EXPECT_NEAR(static_cast<double>(status.modificationTime), static_cast<double>(expected),
                static_cast<double>(kTicksPerSecond));

    const CWString modifiedDay = CreationDateText(expected, 0);
    EXPECT_EQ(Text(CreationDateText(CreationTimeOf(0, status.modificationTime), 0)), Text(modifiedDay));
    EXPECT_EQ(Text(CreationDateText(CreationTimeOf(kUnixEpochTicks, status.modificationTime), 0)),
              Text(modifiedDay));
    // The reader gives the row's time by the same rule: the birth time where the system knows it.
    DirectoryReader reader;
    ASSERT_TRUE(reader.Open(tree.Root()));
    DirectoryEntry entry;
    ASSERT_TRUE(reader.Next(entry));
    EXPECT_EQ(entry.creationTime, CreationTimeOf(status.birthTime, status.modificationTime));
}

}  // namespace
