#include <climits>

#include "runtime/Utf8Conversion.h"

// The library's own UTF-8 codec, giving the results of the Windows conversions for well-formed text.
// Ill-formed input becomes U+FFFD: a lone surrogate in UTF-16; in UTF-8 each maximal ill-formed
// subpart (a stray byte, or the valid start of a sequence that breaks off).

namespace {

inline constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Counts `count` units into `produced` and, when writing, checks them against the capacity.
bool Reserve(int& produced, int count, bool writing, int capacity) {
    if (produced > INT_MAX - count) {
        return false;
    }
    if (writing && produced + count > capacity) {
        return false;
    }
    produced += count;
    return true;
}

}  // namespace

int WideToUtf8Units(const char16_t* text, int length, char* out, int capacity) {
    if (text == nullptr || length <= 0 || capacity < 0 || (capacity > 0 && out == nullptr)) {
        return 0;
    }
    const bool writing = capacity > 0;
    int produced = 0;
    for (int i = 0; i < length; ++i) {
        char32_t codePoint = text[i];
        // ASCII, most of a path, is one byte as it is.
        if (codePoint < 0x80) {
            if (!Reserve(produced, 1, writing, capacity)) {
                return 0;
            }
            if (writing) {
                out[produced - 1] = static_cast<char>(codePoint);
            }
            continue;
        }
        if (IsHighSurrogate(codePoint) && i + 1 < length && IsLowSurrogate(text[i + 1])) {
            codePoint =
                0x10000 + ((codePoint - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint)) {
            codePoint = kReplacement;
        }
        const int count = codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
        const int at = produced;
        if (!Reserve(produced, count, writing, capacity)) {
            return 0;
        }
        if (!writing) {
            continue;
        }
        auto* target = reinterpret_cast<unsigned char*>(out + at);
        switch (count) {
            case 1:
                target[0] = static_cast<unsigned char>(codePoint);
                break;
            case 2:
                target[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
                target[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
                break;
            case 3:
                target[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
                target[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
                target[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
                break;
            default:
                target[0] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
                target[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
                target[2] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
                target[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
                break;
        }
    }
    return produced;
}

int Utf8ToWideUnits(const char* text, int length, char16_t* out, int capacity) {
    if (text == nullptr || length <= 0 || capacity < 0 || (capacity > 0 && out == nullptr)) {
        return 0;
    }
    const bool writing = capacity > 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int produced = 0;
    int i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        char32_t codePoint = kReplacement;
        int continuation = 0;
        unsigned char lowest = 0x80;  // allowed range of the first continuation byte
        unsigned char highest = 0xBF;
        if (lead < 0x80) {
            codePoint = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            codePoint = lead & 0x0F;
            if (lead == 0xE0) {
                lowest = 0xA0;  // no overlong forms
            } else if (lead == 0xED) {
                highest = 0x9F;  // no surrogates
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            codePoint = lead & 0x07;
            if (lead == 0xF0) {
                lowest = 0x90;
            } else if (lead == 0xF4) {
                highest = 0x8F;  // nothing above U+10FFFF
            }
        }
        ++i;
        for (int k = 0; k < continuation; ++k) {
            const unsigned char low = k == 0 ? lowest : 0x80;
            const unsigned char high = k == 0 ? highest : 0xBF;
            if (i >= length || bytes[i] < low || bytes[i] > high) {
                codePoint = kReplacement;  // the breaking byte starts the next sequence
                break;
            }
            codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
            ++i;
        }
        const int count = codePoint >= 0x10000 ? 2 : 1;
        const int at = produced;
        if (!Reserve(produced, count, writing, capacity)) {
            return 0;
        }
        if (!writing) {
            continue;
        }
        if (count == 1) {
            out[at] = static_cast<char16_t>(codePoint);
        } else {
            out[at] = static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            out[at + 1] = static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        }
    }
    return produced;
}
