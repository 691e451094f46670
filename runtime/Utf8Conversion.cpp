#include "runtime/Utf8Conversion.h"

#include <climits>
#include <cstring>
#include <string>

#include "runtime/CVolMem.h"

const char* WideToUtf8(const char16_t* text, CVolMem& out) {
    const std::size_t length = text != nullptr ? std::char_traits<char16_t>::length(text) : 0;
    int bytes = 0;
    if (length > 0 && length <= INT_MAX) {
        bytes = WideToUtf8Units(text, static_cast<int>(length), nullptr, 0);
    }
    if (bytes <= 0 || bytes == INT_MAX) {
        out.SetSize(1);
        out.GetData()[0] = 0;
        return reinterpret_cast<const char*>(out.GetData());
    }
    auto* target = static_cast<char*>(out.SetSize(static_cast<std::int64_t>(bytes) + 1));
    const int written = WideToUtf8Units(text, static_cast<int>(length), target, bytes);
    target[written > 0 ? written : 0] = 0;
    return target;
}

const char16_t* Utf8ToWide(const char* text, CVolMem& out) {
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    int units = 0;
    if (length > 0 && length <= INT_MAX) {
        units = Utf8ToWideUnits(text, static_cast<int>(length), nullptr, 0);
    }
    if (units <= 0 || units == INT_MAX) {
        out.SetSize(2);
        std::memset(out.GetData(), 0, 2);
        return reinterpret_cast<const char16_t*>(out.GetData());
    }
    auto* target = static_cast<char16_t*>(out.SetSize(static_cast<std::int64_t>(units) * 2 + 2));
    const int written = Utf8ToWideUnits(text, static_cast<int>(length), target, units);
    target[written > 0 ? written : 0] = 0;
    return target;
}
