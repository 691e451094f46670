#include "ui/FontDescription.h"

#include <cstdlib>
#include <limits>

namespace {

inline constexpr char16_t kIdeographicSpace = u'\u3000';
inline constexpr char16_t kSeparator = u',';
inline constexpr std::int64_t kPointsPerInch = 72;

// A flag field counts only when it is exactly "1"; "2", "true" or "-1" are all false.
bool IsExactlyOne(std::u16string_view field) {
    return field == u"1";
}

// round(|points| × dpi / 72), halves up, in 64-bit so that no input can overflow on the way.
std::int64_t PointsToRoundedPixels(std::int32_t points, int logPixelsY) {
    const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(points));
    const std::int64_t dpi = logPixelsY < 0 ? 0 : logPixelsY;
    return (magnitude * dpi + kPointsPerInch / 2) / kPointsPerInch;
}

void ApplyField(FontDescription& font, std::size_t position, std::u16string_view field, int logPixelsY) {
    switch (position) {
        case 0:
            if (!field.empty()) {
                font.faceName = std::u16string(field.substr(0, FontDescription::kMaxFaceLength));
            }
            break;
        case 1: {
            const std::int64_t pixels = PointsToRoundedPixels(LeadingInteger(field), logPixelsY);
            if (pixels > 0) {
                const std::int64_t maxPixels = std::numeric_limits<std::int32_t>::max();
                font.height = static_cast<std::int32_t>(-(pixels < maxPixels ? pixels : maxPixels));
            }
            break;
        }
        case 2:
            font.weight = IsExactlyOne(field) ? FontDescription::kBoldWeight : FontDescription::kNormalWeight;
            break;
        case 3:
            font.italic = IsExactlyOne(field);
            break;
        case 4:
            font.underline = IsExactlyOne(field);
            break;
        case 5:
            font.strikeOut = IsExactlyOne(field);
            break;
        case 6:
            if (!field.empty()) {
                // The remainder takes the sign of the dividend; a negative angle turns the other way round.
                std::int32_t angle = LeadingInteger(field) % FontDescription::kFullCircle;
                if (angle < 0) {
                    angle += FontDescription::kFullCircle;
                }
                font.angle = angle;
            }
            break;
        default:
            break;
    }
}

}  // namespace

bool IsFontFieldBlank(char16_t unit) {
    return unit <= u' ' || unit == kIdeographicSpace;
}

std::u16string_view TrimFontField(std::u16string_view field) {
    std::size_t begin = 0;
    std::size_t end = field.size();
    while (begin < end && IsFontFieldBlank(field[begin])) {
        ++begin;
    }
    while (end > begin && IsFontFieldBlank(field[end - 1])) {
        --end;
    }
    return field.substr(begin, end - begin);
}

std::int32_t LeadingInteger(std::u16string_view field) {
    std::size_t i = 0;
    while (i < field.size() && IsFontFieldBlank(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == u'-' || field[i] == u'+')) {
        negative = field[i] == u'-';
        ++i;
    }
    // Accumulate the magnitude with one spare unit so that INT32_MIN itself is representable.
    constexpr std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (field[i] - u'0');
        if (magnitude > limit) {
            magnitude = limit;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

FontDescription FontDescription::Parse(std::u16string_view text, int logPixelsY) {
    FontDescription font;
    // No text, no fields: the font stays as it was. A text of blanks still has one (empty) field.
    if (text.empty()) {
        return font;
    }
    std::size_t position = 0;
    std::size_t start = 0;
    while (position < kFieldCount) {
        const std::size_t comma = text.find(kSeparator, start);
        const std::u16string_view field = text.substr(
            start, comma == std::u16string_view::npos ? std::u16string_view::npos : comma - start);
        ApplyField(font, position, TrimFontField(field), logPixelsY);
        ++position;
        if (comma == std::u16string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return font;
}

FontDescription FontDescription::Parse(const char16_t* text, int logPixelsY) {
    return Parse(text != nullptr ? std::u16string_view(text) : std::u16string_view(), logPixelsY);
}
