#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A font description text: up to seven comma-separated fields, each trimmed of blanks (code units up
// to U+0020 and the ideographic space U+3000):
//
//     face name, size in points, bold, italic, underline, strike-out, angle in tenths of a degree
//
// e.g. "微软雅黑, 11, 0, 0, 0, 0, 0". Parsing yields only what the text sets; every member left
// empty keeps the value of the font the description is applied to. This part knows nothing of Win32,
// so the parser can be exercised (and fuzzed) on any platform.
struct FontDescription {
    static inline constexpr std::size_t kMaxFaceLength = 31;  // the face buffer holds 32 with the NUL
    static inline constexpr std::size_t kFieldCount = 7;
    static inline constexpr std::int32_t kNormalWeight = 400;
    static inline constexpr std::int32_t kBoldWeight = 700;
    static inline constexpr std::int32_t kFullCircle = 3600;  // tenths of a degree

    // Parses `text` for a device with `logPixelsY` pixels per vertical inch.
    static FontDescription Parse(std::u16string_view text, int logPixelsY);
    // A null text reads as the empty description.
    static FontDescription Parse(const char16_t* text, int logPixelsY);

    std::optional<std::u16string> faceName;  // not empty, at most kMaxFaceLength code units
    std::optional<std::int32_t> height;      // character height in pixels, negative (a LOGFONT height)
    std::optional<std::int32_t> weight;      // kNormalWeight or kBoldWeight
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<bool> strikeOut;
    std::optional<std::int32_t> angle;  // escapement and orientation, 0 to 3599

    bool operator==(const FontDescription&) const = default;
};

// Blanks of a description field: every code unit up to U+0020, and U+3000.
bool IsFontFieldBlank(char16_t unit);
std::u16string_view TrimFontField(std::u16string_view field);
// The leading integer of a field, as atoi reads it: optional sign, then decimal digits; no digits
// give 0. Values beyond the 32-bit range saturate instead of overflowing.
std::int32_t LeadingInteger(std::u16string_view field);
