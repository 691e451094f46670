#include "app/export/NameCoding.h"

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
