#include "app/export/cells/UtcOffset.h"

#include "app/export/filesystem/FileTimeTicks.h"

#include <ctime>

std::int64_t CurrentUtcOffset() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return 0;
    }
    return static_cast<std::int64_t>(local.tm_gmtoff) * kTicksPerSecond;
}
