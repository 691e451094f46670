#include "app/export/cells/UtcOffset.h"

#include <windows.h>

namespace {

std::int64_t ToTicks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

}  // namespace

// FileTimeToLocalFileTime applies the bias in force now, which is the offset wanted for every file.
std::int64_t CurrentUtcOffset() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    FILETIME local{};
    if (!FileTimeToLocalFileTime(&now, &local)) {
        return 0;
    }
    return ToTicks(local) - ToTicks(now);
}
