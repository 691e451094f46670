// ParseDecimal64 against an independent reading of the same rules: 128-bit accumulation, then
// saturation to the 64-bit range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/NumberText.h"

namespace {

// One unit per byte, or 16-bit units when the first byte is odd, so both short digit strings and the
// whole code-unit range are reachable.
std::u16string ToUnits(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    if (size > 0 && (data[0] & 1) != 0) {
        for (std::size_t i = 1; i + 1 < size; i += 2) {
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
    } else {
        for (std::size_t i = (size > 0 ? 1 : 0); i < size; ++i) {
            text.push_back(data[i]);
        }
    }
    return text;
}

std::int64_t Reference(const std::u16string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] >= 1 && text[i] <= 32) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const __int128 cap = static_cast<__int128>(1) << 80;  // far past either limit; stays there
    __int128 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value >= cap ? cap : value * 10 + (text[i] - u'0');
    }
    if (negative) {
        value = -value;
    }
    if (value > INT64_MAX) {
        return INT64_MAX;
    }
    if (value < INT64_MIN) {
        return INT64_MIN;
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text = ToUnits(data, size);
    // The parser stops at a NUL, so the reference sees the same text.
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    if (ParseDecimal64(text.c_str()) != Reference(text)) {
        std::abort();
    }
    return 0;
}
