#include "app/export/filesystem/NameCoding.h"

#include "runtime/Utf8Conversion.h"

#include <climits>

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string ReplaceLoneSurrogates(std::u16string_view text) {
    std::u16string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsHighSurrogate(out[i]) && i + 1 < out.size() && IsLowSurrogate(out[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(out[i]) || IsLowSurrogate(out[i])) {
            out[i] = kReplacementCharacter;
        }
    }
    return out;
}

// The runtime's codec replaces ill-formed input by U+FFFD; a text too long for it gives the empty text.
std::u16string DecodeUtf8Lossy(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return {};
    }
    int length = static_cast<int>(bytes.size());
    int units = Utf8ToWideUnits(bytes.data(), length, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::u16string out(static_cast<std::size_t>(units), u'\0');
    int written = Utf8ToWideUnits(bytes.data(), length, out.data(), units);
    out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return out;
}

std::string EncodeUtf8(std::u16string_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    int length = static_cast<int>(text.size());
    int bytes = WideToUtf8Units(text.data(), length, nullptr, 0);
    if (bytes <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(bytes), '\0');
    int written = WideToUtf8Units(text.data(), length, out.data(), bytes);
    out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return out;
}

namespace {

inline constexpr char16_t kByteEscape = 0xDC00;  // + the byte (0x80 to 0xFF)

// Length of the valid UTF-8 sequence at `bytes[i]` and its code point, or 0 when it is not one.
std::size_t ValidSequence(std::string_view bytes, std::size_t i, char32_t& point) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    unsigned char lead = at(i);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (at(i + k) & 0x3F);
    }
    bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < minimum || point > 0x10FFFF || surrogate ? 0 : length;
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

}  // namespace

std::u16string DecodeFileName(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t point = 0;
        std::size_t length = ValidSequence(bytes, i, point);
        if (length == 0) {
            out += static_cast<char16_t>(kByteEscape + static_cast<unsigned char>(bytes[i]));
            ++i;
            continue;
        }
        if (point >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(point);
        }
        i += length;
    }
    return out;
}

std::string EncodeFileName(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out,
                       0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= kByteEscape + 0x80 && unit <= kByteEscape + 0xFF) {
            out += static_cast<char>(unit - kByteEscape);
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}
