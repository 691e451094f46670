#include "ui/EditInputRules.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "runtime/NumberText.h"
#include "runtime/OleDate.h"
#include "runtime/WideFormat.h"

namespace {

// Dates at or below this value are the parser's "no date" (1 January 100, 00:00 and earlier).
inline constexpr double kNoDateLimit = -657433.999999;
inline constexpr std::size_t kHexDigits = 16;

bool IsDigit(char16_t character) {
    return character >= u'0' && character <= u'9';
}

CWString TextOf(const char16_t* units, int length) {
    CWString text;
    if (length > 0) {
        text.SetUnits(units, length);
    }
    return text;
}

CWString IntegerText(std::int64_t value) {
    char16_t buffer[INTEGER_TEXT_CAPACITY];
    return TextOf(buffer, Int64ToText(value, buffer));
}

CWString ClampedIntegerText(const char16_t* text, std::int64_t low, std::int64_t high) {
    return IntegerText(std::clamp(ParseDecimal64(text), low, high));
}

CWString RealText(const char16_t* format, double value) {
    // Negative zero is zero: "-0" would survive the empty-for-zero rule.
    if (value == 0.0) {
        value = 0.0;
    }
    char16_t buffer[REAL_TEXT_CAPACITY];
    const int length = FormatWide(buffer, REAL_TEXT_CAPACITY, format, value);
    return TextOf(buffer, length);
}

CWString FloatText(const char16_t* text) {
    double value = ParseLeadingDouble(text);
    // Beyond the float range the value has no single-precision form.
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        value = 0.0;
    }
    return RealText(u"%.6G", static_cast<double>(static_cast<float>(value)));
}

CWString HexText(const char16_t* text) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    auto value = static_cast<std::uint64_t>(ParseHex64(text));
    char16_t buffer[kHexDigits + 1];
    char16_t* end = buffer + kHexDigits;
    char16_t* start = end;
    do {
        *--start = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    return TextOf(start, static_cast<int>(end - start));
}

CWString DateText(const char16_t* text, int selector) {
    const double date = OleDateFromText(text, true);
    if (date <= kNoDateLimit) {
        return CWString();
    }
    char16_t buffer[OLE_DATE_TEXT_CAPACITY];
    return TextOf(buffer, OleDateToText(date, true, selector, buffer));
}

bool TakesMinus(int inputType) {
    switch (inputType) {
        case EDIT_INPUT_INTEGER_TEXT:
        case EDIT_INPUT_DECIMAL_TEXT:
        case EDIT_INPUT_SHORT:
        case EDIT_INPUT_INT:
        case EDIT_INPUT_LONG:
        case EDIT_INPUT_FLOAT:
        case EDIT_INPUT_DOUBLE:
            return true;
        default:
            return false;
    }
}

bool TakesPoint(int inputType) {
    return inputType == EDIT_INPUT_DECIMAL_TEXT || inputType == EDIT_INPUT_FLOAT ||
           inputType == EDIT_INPUT_DOUBLE;
}

bool TakesOnlyNumberCharacters(int inputType) {
    return inputType >= EDIT_INPUT_INTEGER_TEXT && inputType <= EDIT_INPUT_DOUBLE;
}

bool EmptiesZero(int inputType) {
    return (inputType >= EDIT_INPUT_BYTE && inputType <= EDIT_INPUT_DOUBLE) || inputType == EDIT_INPUT_HEX;
}

}  // namespace

bool IsCharacterAccepted(int inputType, char16_t character) {
    if (character < u' ' || !TakesOnlyNumberCharacters(inputType)) {
        return true;
    }
    return IsDigit(character) || (character == u'-' && TakesMinus(inputType)) ||
           (character == u'.' && TakesPoint(inputType));
}

CWString NormaliseEditText(int inputType, const char16_t* text) {
    if (text == nullptr) {
        text = u"";
    }
    CWString result;
    switch (inputType) {
        case EDIT_INPUT_BYTE:
            result = ClampedIntegerText(text, 0, 255);
            break;
        case EDIT_INPUT_SHORT:
            result = ClampedIntegerText(text, std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max());
            break;
        case EDIT_INPUT_INT:
            result = ClampedIntegerText(text, std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max());
            break;
        case EDIT_INPUT_LONG:
            result = IntegerText(ParseDecimal64(text));
            break;
        case EDIT_INPUT_FLOAT:
            result = FloatText(text);
            break;
        case EDIT_INPUT_DOUBLE:
            result = RealText(u"%.13G", ParseLeadingDouble(text));
            break;
        case EDIT_INPUT_DATE_TIME:
            return DateText(text, OLE_DATE_TEXT_DATE_AND_TIME);
        case EDIT_INPUT_DATE:
            return DateText(text, OLE_DATE_TEXT_DATE_ONLY);
        case EDIT_INPUT_HEX:
            result = HexText(text);
            break;
        default:
            return CWString(text);
    }
    if (EmptiesZero(inputType) && std::u16string_view(result.GetText()) == u"0") {
        result.Empty();
    }
    return result;
}

double ParseLeadingDouble(const char16_t* text) {
    if (text == nullptr) {
        return 0.0;
    }
    while (*text >= 1 && *text <= 32) {
        ++text;
    }
    // The characters of a decimal number are all ASCII: a narrow copy up to the first other unit.
    std::string narrow;
    for (const char16_t* unit = text; *unit != 0 && *unit < 0x80; ++unit) {
        narrow.push_back(static_cast<char>(*unit));
    }
    std::size_t start = 0;
    bool negative = false;
    if (!narrow.empty() && (narrow[0] == '+' || narrow[0] == '-')) {
        negative = narrow[0] == '-';
        start = 1;
    }
    // from_chars also reads "inf" and "nan"; a number starts with a digit or a point.
    if (start >= narrow.size() ||
        !(std::isdigit(static_cast<unsigned char>(narrow[start])) || narrow[start] == '.')) {
        return 0.0;
    }
    double value = 0.0;
    const char* first = narrow.data() + start;
    const std::from_chars_result read =
        std::from_chars(first, narrow.data() + narrow.size(), value, std::chars_format::general);
    if (read.ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}
