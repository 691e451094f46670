#include "app/export/cells/UtcOffset.h"

#include "app/export/filesystem/FileTimeTicks.h"

#include <windows.h>

// FileTimeToLocalFileTime applies the bias in force now, which is the offset wanted for every file.
std::int64_t CurrentUtcOffset() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    FILETIME local{};
    if (!FileTimeToLocalFileTime(&now, &local)) {
        return 0;
    }
    return TicksFromFileTime(local) - TicksFromFileTime(now);
}
