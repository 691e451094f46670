// Date texts in both styles: whatever parses is a valid date whose text parses back to the same value,
// and formatting any double stays within the documented buffer.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/OleDate.h"

namespace {

// Bytes 0xF0 to 0xF5 stand for the Chinese markers, so that the fuzzer reaches them with single bytes.
constexpr char16_t MARKERS[] = u"年月日时分秒";

std::u16string ToText(const std::string& bytes) {
    std::u16string text;
    for (unsigned char byte : bytes) {
        if (byte >= 0xF0 && byte < 0xF0 + 6) {
            text.push_back(MARKERS[byte - 0xF0]);
        } else if (byte != 0) {
            text.push_back(byte);
        }
    }
    return text;
}

bool SameSecond(const CalendarFields& a, const CalendarFields& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

void CheckText(const char16_t* text, std::size_t length) {
    if (length >= OLE_DATE_TEXT_CAPACITY || std::char_traits<char16_t>::length(text) != length) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    bool chineseStyle = provider.ConsumeBool();
    double anyValue = provider.ConsumeFloatingPoint<double>();
    int selector = provider.ConsumeIntegralInRange(-1, 2);
    std::u16string text = ToText(provider.ConsumeRemainingBytesAsString());

    // An exactly sized heap buffer, so the sanitizer sees any write past the documented capacity.
    auto* out = new char16_t[OLE_DATE_TEXT_CAPACITY];
    CheckText(out, static_cast<std::size_t>(OleDateToText(anyValue, chineseStyle, selector, out)));

    double date = OleDateFromText(text.c_str(), chineseStyle);
    CalendarFields parsed;
    if (!OleDateToCalendar(date, parsed)) {
        std::abort();  // the parser only ever returns valid dates
    }
    int length = OleDateToText(date, chineseStyle, OLE_DATE_TEXT_DATE_AND_TIME, out);
    CheckText(out, static_cast<std::size_t>(length));
    if (length == 0) {
        std::abort();
    }
    double again = OleDateFromText(out, chineseStyle);
    CalendarFields reparsed;
    if (!OleDateToCalendar(again, reparsed) || !SameSecond(parsed, reparsed) || again != date) {
        std::abort();
    }
    delete[] out;
    return 0;
}
