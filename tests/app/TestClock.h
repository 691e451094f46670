#pragma once

#include <string>

// Today's local date as the export writes it, "%d年%d月%d日", read from the system clock independently of
// the export's own date code.
std::u16string LocalTodayText();

// A date as the export writes it.
std::u16string DateText(int year, int month, int day);
