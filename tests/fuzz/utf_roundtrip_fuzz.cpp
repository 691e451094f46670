// The UTF-8 and UTF-16 conversions on fuzzed input. The same bytes are read twice:
// - as UTF-16 code units, made well-formed (lone surrogates become U+FFFD, NULs are dropped): the UTF-8
//   must equal an independent encoding, and converting back must give the units unchanged;
// - as UTF-8 bytes up to the first NUL: the UTF-16 must be well-formed, converting it to UTF-8 and back
//   must change nothing more, and bytes that were well-formed UTF-8 must come back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/CVolMem.h"
#include "runtime/Utf8Conversion.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsHigh(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLow(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool IsWellFormedUtf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
            ++i;
        } else if (IsHigh(text[i]) || IsLow(text[i])) {
            return false;
        }
    }
    return true;
}

std::u16string WellFormedUnits(const std::uint8_t* data, std::size_t size) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit != 0) {
            units.push_back(unit);
        }
    }
    std::u16string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (IsHigh(units[i]) && i + 1 < units.size() && IsLow(units[i + 1])) {
            text.push_back(units[i]);
            text.push_back(units[++i]);
        } else if (IsHigh(units[i]) || IsLow(units[i])) {
            text.push_back(0xFFFD);
        } else {
            text.push_back(units[i]);
        }
    }
    return text;
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsHigh(text[i])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return bytes;
}

// Shortest forms only, no surrogate code points, nothing above U+10FFFF.
bool IsWellFormedUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        std::size_t length = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

void CheckWideRoundTrip(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = WellFormedUnits(data, size);
    CVolMem utf8Buffer;
    const std::string_view utf8 = WideToUtf8(text.c_str(), utf8Buffer);
    Require(utf8 == EncodeUtf8(text));
    CVolMem wideBuffer;
    Require(std::u16string_view(Utf8ToWide(utf8.data(), wideBuffer)) == text);
}

void CheckNarrowRoundTrip(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(
        std::string_view(reinterpret_cast<const char*>(data), size)
            .substr(0, std::string_view(reinterpret_cast<const char*>(data), size).find('\0')));
    CVolMem firstWide;
    const std::u16string_view wide = Utf8ToWide(bytes.c_str(), firstWide);
    Require(IsWellFormedUtf16(wide));

    CVolMem utf8Buffer;
    const std::string_view utf8 = WideToUtf8(wide.data(), utf8Buffer);
    Require(IsWellFormedUtf8(utf8));
    if (IsWellFormedUtf8(bytes)) {
        Require(utf8 == bytes);
    }
    CVolMem secondWide;
    Require(std::u16string_view(Utf8ToWide(utf8.data(), secondWide)) == wide);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckWideRoundTrip(data, size);
    CheckNarrowRoundTrip(data, size);
    return 0;
}
