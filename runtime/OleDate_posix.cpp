#include <cmath>
#include <cstdint>

#include "runtime/CivilCalendar.h"
#include "runtime/OleDate.h"

// The same arithmetic as the Windows conversions, step for step, so that both give the same doubles.

namespace {

inline constexpr int SECONDS_PER_DAY = 86400;
// Added to the day fraction before rounding to seconds; a time a hair below half a second rounds up.
inline constexpr double ROUNDING_NUDGE = 1e-11;

}  // namespace

// The time is added (or, before the epoch, subtracted) one field at a time in this order; another
// order would differ in the last bit.
bool CalendarToOleDate(const CalendarFields& fields, double& date) {
    if (!IsValidCalendar(fields)) {
        return false;
    }
    double days = static_cast<double>(DaysFromCivil(fields.year, fields.month, fields.day));
    double sign = days >= 0.0 ? 1.0 : -1.0;
    date = days + sign * (fields.hour / 24.0);
    date += sign * (fields.minute / 1440.0);
    date += sign * (fields.second / 86400.0);
    return true;
}

bool OleDateToCalendar(double date, CalendarFields& fields) {
    if (!IsOleDateInRange(date)) {
        return false;
    }
    double wholeDays = std::trunc(date);
    double fraction = std::fabs(date - wholeDays) + ROUNDING_NUDGE;
    auto seconds = static_cast<std::int64_t>(fraction * SECONDS_PER_DAY + 0.5);
    // A time that rounds up to midnight moves to the next calendar day, also before the epoch.
    std::int64_t days = static_cast<std::int64_t>(wholeDays) + seconds / SECONDS_PER_DAY;
    seconds %= SECONDS_PER_DAY;
    CalendarFields result = CivilFromDays(days);
    if (result.year > 9999) {
        return false;
    }
    result.hour = static_cast<int>(seconds / 3600);
    result.minute = static_cast<int>(seconds / 60 % 60);
    result.second = static_cast<int>(seconds % 60);
    fields = result;
    return true;
}
