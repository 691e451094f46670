// The formatter on fuzzed conversions with arguments of the right type. Checks: nothing is written past
// the capacity (exact heap buffers), the length equals that of a measuring call, truncation keeps a
// prefix of the full text, and plain ASCII numeric conversions agree with the C library's snprintf.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/WideFormat.h"

namespace {

enum class ArgumentKind { Int, LongLong, Size, Double, Char, Text, Pointer, None };

struct Conversion {
    const char* wideLength;    // the length modifier given to FormatWide
    const char* narrowLength;  // the same width for snprintf; null where there is no narrow twin
    char conversion;
    ArgumentKind kind;
};

constexpr Conversion CONVERSIONS[] = {
    {"", "", 'd', ArgumentKind::Int},           {"", "", 'i', ArgumentKind::Int},
    {"", "", 'u', ArgumentKind::Int},           {"", "", 'x', ArgumentKind::Int},
    {"", "", 'X', ArgumentKind::Int},           {"", "", 'o', ArgumentKind::Int},
    {"hh", "hh", 'd', ArgumentKind::Int},       {"hh", "hh", 'u', ArgumentKind::Int},
    {"h", "h", 'd', ArgumentKind::Int},         {"h", "h", 'x', ArgumentKind::Int},
    {"I32", "", 'd', ArgumentKind::Int},        {"I32", "", 'X', ArgumentKind::Int},
    {"ll", "ll", 'd', ArgumentKind::LongLong},  {"ll", "ll", 'u', ArgumentKind::LongLong},
    {"ll", "ll", 'x', ArgumentKind::LongLong},  {"ll", "ll", 'o', ArgumentKind::LongLong},
    {"I64", "ll", 'd', ArgumentKind::LongLong}, {"I64", "ll", 'X', ArgumentKind::LongLong},
    {"j", "j", 'd', ArgumentKind::LongLong},    {"z", "z", 'u', ArgumentKind::Size},
    {"t", "t", 'd', ArgumentKind::Size},        {"I", "z", 'x', ArgumentKind::Size},
    {"", "", 'e', ArgumentKind::Double},        {"", "", 'E', ArgumentKind::Double},
    {"", "", 'f', ArgumentKind::Double},        {"", "", 'F', ArgumentKind::Double},
    {"", "", 'g', ArgumentKind::Double},        {"", "", 'G', ArgumentKind::Double},
    {"l", "l", 'f', ArgumentKind::Double},      {"", nullptr, 'c', ArgumentKind::Char},
    {"l", nullptr, 'c', ArgumentKind::Char},    {"", nullptr, 's', ArgumentKind::Text},
    {"l", nullptr, 's', ArgumentKind::Text},    {"", nullptr, 'p', ArgumentKind::Pointer},
    {"", nullptr, 'n', ArgumentKind::None},     {"L", nullptr, 'f', ArgumentKind::None},
    {"", nullptr, 'q', ArgumentKind::None},     {"hh", nullptr, 's', ArgumentKind::None},
};

struct Arguments {
    bool starWidth = false;
    bool starPrecision = false;
    int width = 0;
    int precision = 0;
};

template <typename T>
int Call(char16_t* out, std::size_t capacity, const char16_t* format, const Arguments& args, T value) {
    if (args.starWidth && args.starPrecision) {
        return FormatWide(out, capacity, format, args.width, args.precision, value);
    }
    if (args.starWidth) {
        return FormatWide(out, capacity, format, args.width, value);
    }
    if (args.starPrecision) {
        return FormatWide(out, capacity, format, args.precision, value);
    }
    return FormatWide(out, capacity, format, value);
}

template <typename T>
int CallNarrow(char* out, std::size_t capacity, const char* format, const Arguments& args, T value) {
    if (args.starWidth && args.starPrecision) {
        return std::snprintf(out, capacity, format, args.width, args.precision, value);
    }
    if (args.starWidth) {
        return std::snprintf(out, capacity, format, args.width, value);
    }
    if (args.starPrecision) {
        return std::snprintf(out, capacity, format, args.precision, value);
    }
    return std::snprintf(out, capacity, format, value);
}

std::u16string Widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::string Literal(FuzzedDataProvider& provider) {
    std::string literal;
    for (char c : provider.ConsumeRandomLengthString(8)) {
        if (c >= 0x20 && c < 0x7F && c != '%') {
            literal.push_back(c);
        }
    }
    return literal;
}

template <typename T>
void Check(const std::u16string& format, const std::string& narrowFormat, bool compareNarrow,
           const Arguments& args, std::size_t capacity, T value, T narrowValue) {
    int measured = Call(nullptr, 0, format.c_str(), args, value);
    auto* out = new char16_t[capacity == 0 ? 1 : capacity];
    int length = Call(capacity == 0 ? nullptr : out, capacity, format.c_str(), args, value);
    if (length != measured) {
        std::abort();
    }
    if (capacity > 0) {
        // Not a string length: "%c" of 0 stores a NUL inside the text, as printf does.
        std::size_t end = length < 0 ? 0 : std::min<std::size_t>(length, capacity - 1);
        if (out[end] != u'\0') {
            std::abort();
        }
    }
    if (length >= 0) {
        std::vector<char16_t> full(static_cast<std::size_t>(length) + 1);
        if (Call(full.data(), full.size(), format.c_str(), args, value) != length) {
            std::abort();
        }
        if (capacity > 0 && std::char_traits<char16_t>::compare(
                                full.data(), out, std::min<std::size_t>(length, capacity - 1)) != 0) {
            std::abort();
        }
        if (compareNarrow) {
            std::vector<char> narrow(static_cast<std::size_t>(length) + 1);
            int narrowLength =
                CallNarrow(narrow.data(), narrow.size(), narrowFormat.c_str(), args, narrowValue);
            if (narrowLength != length || Widen(narrow.data()) != std::u16string(full.data())) {
                std::abort();
            }
        }
    }
    delete[] out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const Conversion& conversion = provider.PickValueInArray(CONVERSIONS);
    std::string flags;
    for (char flag : {'-', '+', ' ', '#', '0'}) {
        if (provider.ConsumeBool()) {
            flags.push_back(flag);
        }
    }
    Arguments args;
    std::string width;
    std::string precision;
    switch (provider.ConsumeIntegralInRange(0, 2)) {
        case 1:
            width = std::to_string(provider.ConsumeIntegralInRange(0, 300));
            break;
        case 2:
            width = "*";
            args.starWidth = true;
            args.width = provider.ConsumeIntegralInRange(-300, 300);
            break;
        default:
            break;
    }
    switch (provider.ConsumeIntegralInRange(0, 3)) {
        case 1:
            precision = ".";
            break;
        case 2:
            precision = "." + std::to_string(provider.ConsumeIntegralInRange(0, 1200));
            break;
        case 3:
            precision = ".*";
            args.starPrecision = true;
            args.precision = provider.ConsumeIntegralInRange(-5, 1200);
            break;
        default:
            break;
    }
    std::string prefix = Literal(provider);
    std::string suffix = Literal(provider);
    std::size_t capacity = provider.ConsumeIntegralInRange<std::size_t>(0, 80);

    std::string directive = flags + width + precision;
    std::u16string format =
        Widen(prefix + "%" + directive + conversion.wideLength + conversion.conversion + suffix);
    std::string narrowFormat = prefix + "%" + directive +
                               (conversion.narrowLength ? conversion.narrowLength : "") +
                               conversion.conversion + suffix;
    // The C library drops the zeros that "%#g" keeps after a rounding carry; C99 keeps them.
    bool alternateGeneral = flags.find('#') != std::string::npos &&
                            (conversion.conversion == 'g' || conversion.conversion == 'G');
    bool compareNarrow = conversion.narrowLength != nullptr && !alternateGeneral;

    std::uint64_t bits = provider.ConsumeIntegral<std::uint64_t>();
    switch (conversion.kind) {
        case ArgumentKind::Int:
            Check(format, narrowFormat, compareNarrow, args, capacity, static_cast<int>(bits),
                  static_cast<int>(bits));
            break;
        case ArgumentKind::LongLong:
            Check(format, narrowFormat, compareNarrow, args, capacity, static_cast<long long>(bits),
                  static_cast<long long>(bits));
            break;
        case ArgumentKind::Size:
            Check(format, narrowFormat, compareNarrow, args, capacity, static_cast<std::size_t>(bits),
                  static_cast<std::size_t>(bits));
            break;
        case ArgumentKind::Double: {
            double value = 0.0;
            std::memcpy(&value, &bits, sizeof value);
            Check(format, narrowFormat, compareNarrow, args, capacity, value, value);
            break;
        }
        case ArgumentKind::Char:
            Check(format, narrowFormat, false, args, capacity, static_cast<int>(bits & 0xFFFF), 0);
            break;
        case ArgumentKind::Text: {
            std::u16string text = Widen(provider.ConsumeRandomLengthString(40));
            const char16_t* argument = (bits & 1) != 0 ? nullptr : text.c_str();
            Check(format, narrowFormat, false, args, capacity, argument, argument);
            break;
        }
        case ArgumentKind::Pointer: {
            auto* pointer = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(bits));
            Check(format, narrowFormat, false, args, capacity, pointer, pointer);
            break;
        }
        case ArgumentKind::None: {
            // Invalid conversions: no value is read, the result is -1 and the output empty.
            int dummy = 0;
            Check(format, narrowFormat, false, args, capacity, &dummy, &dummy);
            if (Call(nullptr, 0, format.c_str(), args, &dummy) != -1) {
                std::abort();
            }
            break;
        }
    }
    return 0;
}
