#include "app/export/cells/CreationDateText.h"

#include "app/export/filesystem/FileTimeTicks.h"
#include "runtime/CivilCalendar.h"
#include "runtime/OleDate.h"

#include <limits>

namespace {

inline constexpr std::int64_t kSecondsPerDay = 86400;
inline constexpr std::int64_t kTicksPerDay = kTicksPerSecond * kSecondsPerDay;

// Local time to an OLE date; false where the Win32 conversions (FileTimeToSystemTime,
// SystemTimeToVariantTime) would fail: a negative time, or a year past 9999.
bool ToOleDate(std::int64_t localTicks, double& date) {
    if (localTicks < 0) {
        return false;
    }
    static const std::int64_t kFirstDay = DaysFromCivil(1601, 1, 1);
    std::int64_t days = localTicks / kTicksPerDay;
    std::int64_t secondOfDay = (localTicks % kTicksPerDay) / kTicksPerSecond;
    CalendarFields fields = CivilFromDays(kFirstDay + days);
    fields.hour = static_cast<int>(secondOfDay / 3600);
    fields.minute = static_cast<int>(secondOfDay / 60 % 60);
    fields.second = static_cast<int>(secondOfDay % 60);
    return CalendarToOleDate(fields, date);
}

}  // namespace

CWString CreationDateText(std::int64_t creationTime, std::int64_t utcOffset) {
    double date = OLE_DATE_MIN;
    // No real creation time is near the limits of the type, but a corrupt one must not overflow.
    bool overflows = utcOffset > 0 ? creationTime > std::numeric_limits<std::int64_t>::max() - utcOffset
                                   : creationTime < std::numeric_limits<std::int64_t>::min() - utcOffset;
    if (overflows || !ToOleDate(creationTime + utcOffset, date)) {
        date = OLE_DATE_MIN;
    }
    char16_t buffer[OLE_DATE_TEXT_CAPACITY];
    int length = OleDateToText(date, true, OLE_DATE_TEXT_DATE_ONLY, buffer);
    CWString text;
    text.SetUnits(buffer, length);
    return text;
}

const CWString& CreationDateTextCache::Get(std::int64_t creationTime) {
    if (creationTime >= dayStart_ && creationTime < dayEnd_) {
        return text_;
    }
    text_ = CreationDateText(creationTime, utcOffset_);
    // Only days well inside the valid range are remembered; anything else is converted every time.
    constexpr std::int64_t kLimit = std::int64_t{1} << 60;
    std::int64_t localTicks = creationTime + utcOffset_;
    if (creationTime >= 0 && creationTime < kLimit && utcOffset_ > -kTicksPerDay &&
        utcOffset_ < kTicksPerDay && localTicks >= 0) {
        dayStart_ = localTicks / kTicksPerDay * kTicksPerDay - utcOffset_;
        dayEnd_ = dayStart_ + kTicksPerDay;
    } else {
        dayStart_ = 0;
        dayEnd_ = 0;
    }
    return text_;
}
