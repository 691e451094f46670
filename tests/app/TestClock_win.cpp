#include "tests/app/TestClock.h"

#include <windows.h>

std::u16string LocalTodayText() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return DateText(local.wYear, local.wMonth, local.wDay);
}
