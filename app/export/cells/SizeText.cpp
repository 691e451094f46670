#include "app/export/cells/SizeText.h"

#include "runtime/NumberText.h"

namespace {

inline constexpr std::int64_t kBytesPerUnit = 1000;
// "%.15G" prints a whole number below 10^15 as its plain digits; only larger counts take the exponent
// form, so only they need the floating-point formatter.
inline constexpr std::int64_t kPlainDigitsLimit = 1000000000000000;

}  // namespace

CWString SizeText(std::int64_t bytes) {
    std::int64_t units = bytes / kBytesPerUnit;
    CWString text;
    if (units == 0) {
        text.SetText(u"0KB");
    } else if (units > -kPlainDigitsLimit && units < kPlainDigitsLimit) {
        char16_t digits[INTEGER_TEXT_CAPACITY + 2];
        const int length = Int64ToText(units, digits);
        digits[length] = u'K';
        digits[length + 1] = u'B';
        text.SetUnits(digits, length + 2);
    } else {
        text.Format(u"%.15GKB", static_cast<double>(units));
    }
    return text;
}
