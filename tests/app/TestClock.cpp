#include "tests/app/TestClock.h"

namespace {

std::u16string Digits(int value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string DateText(int year, int month, int day) {
    return Digits(year) + u"年" + Digits(month) + u"月" + Digits(day) + u"日";
}
