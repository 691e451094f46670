#include "tests/app/TestClock.h"

#include <ctime>

std::u16string LocalTodayText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}
