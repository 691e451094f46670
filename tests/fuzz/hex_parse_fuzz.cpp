// ParseHex64 against an independent reading: the value of the last sixteen hex digits of the run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/NumberText.h"

namespace {

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
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    return text;
}

bool IsHexDigit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f') || (unit >= u'A' && unit <= u'F');
}

std::int64_t Reference(const std::u16string& text) {
    std::size_t start = (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) ? 2 : 0;
    std::size_t end = start;
    while (end < text.size() && IsHexDigit(text[end])) {
        ++end;
    }
    std::size_t from = end - start > 16 ? end - 16 : start;
    std::string digits;
    for (std::size_t i = from; i < end; ++i) {
        digits.push_back(static_cast<char>(text[i]));
    }
    return digits.empty() ? 0 : static_cast<std::int64_t>(std::strtoull(digits.c_str(), nullptr, 16));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text = ToUnits(data, size);
    if (ParseHex64(text.c_str()) != Reference(text)) {
        std::abort();
    }
    return 0;
}
