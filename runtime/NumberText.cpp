#include "runtime/NumberText.h"

#include <cmath>

#include "runtime/WideFormat.h"

namespace {

inline constexpr char16_t INT64_MIN_TEXT[] = u"-9223372036854775808";
inline constexpr std::uint64_t INT64_MAX_MAGNITUDE = 9223372036854775807ull;

bool IsNearZero(double value) {
    return value >= -NEAR_ZERO_TOLERANCE && value <= NEAR_ZERO_TOLERANCE;
}

int WriteZero(char16_t* out) {
    out[0] = u'0';
    out[1] = u'\0';
    return 1;
}

int HexDigitValue(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') {
        return unit - u'0';
    }
    if (unit >= u'A' && unit <= u'F') {
        return unit - u'A' + 10;
    }
    if (unit >= u'a' && unit <= u'f') {
        return unit - u'a' + 10;
    }
    return -1;
}

}  // namespace

int Int32ToText(std::int32_t value, char16_t* out) {
    return FormatWide(out, INTEGER_TEXT_CAPACITY, u"%d", static_cast<int>(value));
}

int Int64ToText(std::int64_t value, char16_t* out) {
    if (value == 0) {
        return WriteZero(out);
    }
    if (value == INT64_MIN) {
        // Its magnitude has no positive int64 counterpart.
        int length = 0;
        for (; INT64_MIN_TEXT[length] != u'\0'; ++length) {
            out[length] = INT64_MIN_TEXT[length];
        }
        out[length] = u'\0';
        return length;
    }
    char16_t digits[INTEGER_TEXT_CAPACITY];
    int count = 0;
    std::int64_t magnitude = value < 0 ? -value : value;
    while (magnitude != 0) {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    }
    int length = 0;
    if (value < 0) {
        out[length++] = u'-';
    }
    while (count > 0) {
        out[length++] = digits[--count];
    }
    out[length] = u'\0';
    return length;
}

int FloatToText(float value, char16_t* out) {
    if (IsNearZero(value)) {
        return WriteZero(out);
    }
    return FormatWide(out, REAL_TEXT_CAPACITY, u"%.8G", static_cast<double>(value));
}

int DoubleToText(double value, char16_t* out) {
    if (IsNearZero(value)) {
        return WriteZero(out);
    }
    return FormatWide(out, REAL_TEXT_CAPACITY, u"%.15G", value);
}

// Saturation is exact: a digit is refused only when it would carry the value past the limit of its
// sign, so "9223372036854775806" stays itself and "-9223372036854775808" is the smallest value.
std::int64_t ParseDecimal64(const char16_t* text) {
    if (text == nullptr) {
        return 0;
    }
    while (*text >= 1 && *text <= 32) {
        ++text;
    }
    bool negative = false;
    if (*text == u'-' || *text == u'+') {
        negative = *text == u'-';
        ++text;
    }
    std::uint64_t limit = negative ? INT64_MAX_MAGNITUDE + 1 : INT64_MAX_MAGNITUDE;
    std::uint64_t magnitude = 0;
    for (; *text >= u'0' && *text <= u'9'; ++text) {
        std::uint64_t digit = *text - u'0';
        if (magnitude > (limit - digit) / 10) {
            return negative ? INT64_MIN : INT64_MAX;
        }
        magnitude = magnitude * 10 + digit;
    }
    // Two's-complement negation of the magnitude; for the smallest value the cast gives it directly.
    return static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
}

std::int64_t ParseHex64(const char16_t* text) {
    if (text == nullptr) {
        return 0;
    }
    if (text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        text += 2;
    }
    std::uint64_t value = 0;
    for (int digit = HexDigitValue(*text); digit >= 0; digit = HexDigitValue(*++text)) {
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return static_cast<std::int64_t>(value);
}

double RoundDouble(double value) {
    if (IsNearZero(value)) {
        return value;
    }
    double whole = 0.0;
    double fraction = std::modf(std::fabs(value) + NEAR_ZERO_TOLERANCE, &whole);
    if (fraction >= 0.5) {
        whole += 1.0;
    }
    return std::copysign(whole, value);
}
