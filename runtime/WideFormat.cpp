#include "runtime/WideFormat.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

// Exact decimal expansions of a double never need more than 767 significant digits or 1074 digits after
// the point; beyond these precisions every further digit is a zero, which is emitted without formatting.
inline constexpr int MAX_EXACT_SCIENTIFIC_DIGITS = 800;
inline constexpr int MAX_EXACT_FIXED_DIGITS = 1100;
inline constexpr std::size_t FLOAT_BUFFER_SIZE = 1536;
inline constexpr int DEFAULT_FLOAT_PRECISION = 6;
inline constexpr int POINTER_DIGITS = 16;
inline constexpr char16_t NULL_TEXT[] = u"(null)";

// Counts every unit of the result but stores only what fits, always leaving room for the NUL.
class OutputSink {
public:
    OutputSink(char16_t* out, std::size_t capacity) : out_(out), capacity_(capacity) {}

    void Put(char16_t unit, std::size_t count = 1) {
        if (out_ != nullptr && capacity_ > 0 && length_ < capacity_ - 1) {
            std::size_t room = capacity_ - 1 - length_;
            std::size_t stored = std::min(room, count);
            std::fill_n(out_ + length_, stored, unit);
        }
        Advance(count);
    }

    void PutNarrow(const char* text, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            Store(static_cast<char16_t>(static_cast<unsigned char>(text[i])), i);
        }
        Advance(count);
    }

    void PutWide(const char16_t* text, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            Store(text[i], i);
        }
        Advance(count);
    }

    // Returns the full length, or -1 when it does not fit an int.
    int Finish() {
        if (out_ != nullptr && capacity_ > 0) {
            out_[std::min(length_, capacity_ - 1)] = u'\0';
        }
        return length_ > static_cast<std::size_t>(INT_MAX) ? -1 : static_cast<int>(length_);
    }

    void Fail() {
        if (out_ != nullptr && capacity_ > 0) {
            out_[0] = u'\0';
        }
    }

private:
    void Store(char16_t unit, std::size_t offset) {
        std::size_t position = length_ + offset;
        if (out_ != nullptr && capacity_ > 0 && position < capacity_ - 1) {
            out_[position] = unit;
        }
    }

    // Saturates just above INT_MAX: absurd widths can neither wrap the count nor pass for a valid length.
    void Advance(std::size_t count) {
        std::size_t limit = static_cast<std::size_t>(INT_MAX) + 1;
        length_ = (count >= limit || length_ + count >= limit) ? limit : length_ + count;
    }

    char16_t* out_;
    std::size_t capacity_;
    std::size_t length_ = 0;
};

enum class LengthModifier {
    None,
    Char,
    Short,
    Long,
    LongLong,
    Size,
    IntMax,
    PtrDiff,
    Int64,
    Int32,
    PointerSized
};

struct Directive {
    bool leftAlign = false;
    bool forceSign = false;
    bool spaceSign = false;
    bool alternate = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1;  // -1: none given
    LengthModifier length = LengthModifier::None;
    char16_t conversion = 0;
};

// A va_list cannot be passed around portably by reference; wrapping a copy in a struct can.
struct ArgumentList {
    std::va_list args;
};

bool IsDigit(char16_t unit) {
    return unit >= u'0' && unit <= u'9';
}

// Reads a decimal field; false when it exceeds INT_MAX.
bool ReadNumber(const char16_t*& cursor, int& value) {
    long long accumulated = 0;
    while (IsDigit(*cursor)) {
        accumulated = accumulated * 10 + (*cursor - u'0');
        if (accumulated > INT_MAX) {
            return false;
        }
        ++cursor;
    }
    value = static_cast<int>(accumulated);
    return true;
}

LengthModifier ReadLength(const char16_t*& cursor) {
    switch (*cursor) {
        case u'h':
            ++cursor;
            if (*cursor == u'h') {
                ++cursor;
                return LengthModifier::Char;
            }
            return LengthModifier::Short;
        case u'l':
            ++cursor;
            if (*cursor == u'l') {
                ++cursor;
                return LengthModifier::LongLong;
            }
            return LengthModifier::Long;
        case u'z':
            ++cursor;
            return LengthModifier::Size;
        case u'j':
            ++cursor;
            return LengthModifier::IntMax;
        case u't':
            ++cursor;
            return LengthModifier::PtrDiff;
        case u'I':
            ++cursor;
            if (cursor[0] == u'6' && cursor[1] == u'4') {
                cursor += 2;
                return LengthModifier::Int64;
            }
            if (cursor[0] == u'3' && cursor[1] == u'2') {
                cursor += 2;
                return LengthModifier::Int32;
            }
            return LengthModifier::PointerSized;
        default:
            return LengthModifier::None;
    }
}

// Parses flags, width, precision and length after a '%'; false when they are malformed.
bool ParseDirective(const char16_t*& cursor, ArgumentList& list, Directive& directive) {
    for (;; ++cursor) {
        if (*cursor == u'-') {
            directive.leftAlign = true;
        } else if (*cursor == u'+') {
            directive.forceSign = true;
        } else if (*cursor == u' ') {
            directive.spaceSign = true;
        } else if (*cursor == u'#') {
            directive.alternate = true;
        } else if (*cursor == u'0') {
            directive.zeroPad = true;
        } else {
            break;
        }
    }
    if (*cursor == u'*') {
        ++cursor;
        int width = va_arg(list.args, int);
        if (width < 0) {
            if (width == INT_MIN) {
                return false;
            }
            directive.leftAlign = true;
            width = -width;
        }
        directive.width = width;
    } else if (!ReadNumber(cursor, directive.width)) {
        return false;
    }
    if (*cursor == u'.') {
        ++cursor;
        if (*cursor == u'*') {
            ++cursor;
            int precision = va_arg(list.args, int);
            directive.precision = precision < 0 ? -1 : precision;
        } else if (!ReadNumber(cursor, directive.precision)) {
            return false;
        }
    }
    directive.length = ReadLength(cursor);
    directive.conversion = *cursor;
    if (directive.conversion == u'\0') {
        return false;
    }
    ++cursor;
    return true;
}

void PadTo(OutputSink& sink, const Directive& directive, std::size_t bodyLength) {
    if (static_cast<std::size_t>(directive.width) > bodyLength) {
        sink.Put(u' ', directive.width - bodyLength);
    }
}

// ---- integers ----

struct IntegerArgument {
    std::uint64_t magnitude = 0;
    bool negative = false;
};

template <typename T>
IntegerArgument FromSigned(T value) {
    IntegerArgument result;
    long long wide = static_cast<long long>(value);
    result.negative = wide < 0;
    result.magnitude =
        result.negative ? 0 - static_cast<std::uint64_t>(wide) : static_cast<std::uint64_t>(wide);
    return result;
}

template <typename T>
IntegerArgument FromUnsigned(T value) {
    IntegerArgument result;
    result.magnitude = static_cast<std::uint64_t>(value);
    return result;
}

// Reads the argument the length modifier names, narrowing promoted values back to their type.
IntegerArgument ReadInteger(ArgumentList& list, LengthModifier length, bool isSigned) {
    using SignedSize = std::make_signed_t<std::size_t>;
    switch (length) {
        case LengthModifier::None:
        case LengthModifier::Int32:
            return isSigned ? FromSigned(va_arg(list.args, int))
                            : FromUnsigned(va_arg(list.args, unsigned int));
        case LengthModifier::Char:
            return isSigned ? FromSigned(static_cast<signed char>(va_arg(list.args, int)))
                            : FromUnsigned(static_cast<unsigned char>(va_arg(list.args, unsigned int)));
        case LengthModifier::Short:
            return isSigned ? FromSigned(static_cast<short>(va_arg(list.args, int)))
                            : FromUnsigned(static_cast<unsigned short>(va_arg(list.args, unsigned int)));
        case LengthModifier::Long:
            return isSigned ? FromSigned(va_arg(list.args, long))
                            : FromUnsigned(va_arg(list.args, unsigned long));
        case LengthModifier::LongLong:
        case LengthModifier::Int64:
            return isSigned ? FromSigned(va_arg(list.args, long long))
                            : FromUnsigned(va_arg(list.args, unsigned long long));
        case LengthModifier::Size:
            return isSigned ? FromSigned(va_arg(list.args, SignedSize))
                            : FromUnsigned(va_arg(list.args, std::size_t));
        case LengthModifier::IntMax:
            return isSigned ? FromSigned(va_arg(list.args, std::intmax_t))
                            : FromUnsigned(va_arg(list.args, std::uintmax_t));
        case LengthModifier::PtrDiff:
        case LengthModifier::PointerSized:
            return isSigned ? FromSigned(va_arg(list.args, std::ptrdiff_t))
                            : FromUnsigned(va_arg(list.args, std::size_t));
    }
    return {};
}

void FormatInteger(OutputSink& sink, const Directive& directive, const IntegerArgument& value) {
    char16_t conversion = directive.conversion;
    bool isSigned = conversion == u'd' || conversion == u'i';
    int base = conversion == u'o' ? 8 : (conversion == u'x' || conversion == u'X') ? 16 : 10;

    char digits[24];
    std::size_t digitCount = 0;
    if (!(directive.precision == 0 && value.magnitude == 0)) {
        auto result = std::to_chars(digits, digits + sizeof digits, value.magnitude, base);
        digitCount = static_cast<std::size_t>(result.ptr - digits);
        if (conversion == u'X') {
            std::transform(digits, digits + digitCount, digits, [](char c) {
                return (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
            });
        }
    }

    std::size_t leadingZeros = 0;
    if (directive.precision > 0 && static_cast<std::size_t>(directive.precision) > digitCount) {
        leadingZeros = directive.precision - digitCount;
    }
    if (conversion == u'o' && directive.alternate && leadingZeros == 0 &&
        (digitCount == 0 || digits[0] != '0')) {
        leadingZeros = 1;
    }

    char prefix[2];
    std::size_t prefixLength = 0;
    if (isSigned && value.negative) {
        prefix[prefixLength++] = '-';
    } else if (isSigned && directive.forceSign) {
        prefix[prefixLength++] = '+';
    } else if (isSigned && directive.spaceSign) {
        prefix[prefixLength++] = ' ';
    } else if (base == 16 && directive.alternate && value.magnitude != 0) {
        prefix[prefixLength++] = '0';
        prefix[prefixLength++] = static_cast<char>(conversion);
    }

    std::size_t bodyLength = prefixLength + leadingZeros + digitCount;
    bool zeroFill = directive.zeroPad && !directive.leftAlign && directive.precision < 0;
    if (zeroFill && static_cast<std::size_t>(directive.width) > bodyLength) {
        leadingZeros += directive.width - bodyLength;
        bodyLength = directive.width;
    }
    if (!directive.leftAlign) {
        PadTo(sink, directive, bodyLength);
    }
    sink.PutNarrow(prefix, prefixLength);
    sink.Put(u'0', leadingZeros);
    sink.PutNarrow(digits, digitCount);
    if (directive.leftAlign) {
        PadTo(sink, directive, bodyLength);
    }
}

// ---- floating point ----

// The text of a finite non-negative number: head, then `zeros` extra zeros, then tail (the exponent
// part of the scientific form). Extra zeros stand for precision beyond the exact expansion.
struct FloatBody {
    char text[FLOAT_BUFFER_SIZE];
    std::size_t headLength = 0;
    std::size_t zeros = 0;
    std::size_t tailStart = 0;
    std::size_t tailLength = 0;

    std::size_t Length() const { return headLength + zeros + tailLength; }
};

// Precisions are 64-bit here: %g asks for up to INT_MAX + 3 digits after the point.
void FormatScientific(FloatBody& body, double value, std::int64_t precision, bool alternate) {
    int exact = static_cast<int>(std::min<std::int64_t>(precision, MAX_EXACT_SCIENTIFIC_DIGITS));
    auto result = std::to_chars(body.text, body.text + FLOAT_BUFFER_SIZE - 2, value,
                                std::chars_format::scientific, exact);
    std::size_t length = static_cast<std::size_t>(result.ptr - body.text);
    std::size_t exponentAt =
        static_cast<std::size_t>(std::find(body.text, body.text + length, 'e') - body.text);
    body.headLength = exponentAt;
    body.zeros = static_cast<std::size_t>(precision - exact);
    if (precision == 0 && alternate) {
        // Make room for the point that '#' demands: "1e+00" becomes "1.e+00".
        std::memmove(body.text + exponentAt + 1, body.text + exponentAt, length - exponentAt);
        body.text[exponentAt] = '.';
        ++body.headLength;
        ++length;
    }
    body.tailStart = body.headLength;
    body.tailLength = length - body.headLength;
}

void FormatFixed(FloatBody& body, double value, std::int64_t precision, bool alternate) {
    int exact = static_cast<int>(std::min<std::int64_t>(precision, MAX_EXACT_FIXED_DIGITS));
    auto result =
        std::to_chars(body.text, body.text + FLOAT_BUFFER_SIZE - 2, value, std::chars_format::fixed, exact);
    std::size_t length = static_cast<std::size_t>(result.ptr - body.text);
    if (precision == 0 && alternate) {
        body.text[length++] = '.';
    }
    body.headLength = length;
    body.zeros = static_cast<std::size_t>(precision - exact);
    body.tailStart = length;
    body.tailLength = 0;
}

// The exponent the scientific form shows after rounding to `significantDigits`.
int DecimalExponent(double value, int significantDigits) {
    if (value == 0.0) {
        return 0;
    }
    char buffer[FLOAT_BUFFER_SIZE];
    int exact = std::min(significantDigits - 1, MAX_EXACT_SCIENTIFIC_DIGITS);
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, exact);
    const char* exponentText = std::find(buffer, result.ptr, 'e') + 1;
    if (*exponentText == '+') {
        ++exponentText;
    }
    int exponent = 0;
    std::from_chars(exponentText, result.ptr, exponent);
    return exponent;
}

// %g: scientific when the exponent is below -4 or not below the precision, fixed otherwise; without '#'
// trailing zeros of the fraction and a bare point are removed.
void FormatGeneral(FloatBody& body, double value, int precision, bool alternate) {
    std::int64_t significant = precision == 0 ? 1 : precision;
    int exponent = DecimalExponent(value, static_cast<int>(significant));
    if (exponent < -4 || exponent >= significant) {
        FormatScientific(body, value, significant - 1, alternate);
    } else {
        FormatFixed(body, value, significant - 1 - exponent, alternate);
    }
    if (alternate) {
        return;
    }
    body.zeros = 0;
    if (std::find(body.text, body.text + body.headLength, '.') == body.text + body.headLength) {
        return;
    }
    std::size_t head = body.headLength;
    while (head > 0 && body.text[head - 1] == '0') {
        --head;
    }
    if (head > 0 && body.text[head - 1] == '.') {
        --head;
    }
    body.headLength = head;
}

void FormatFloat(OutputSink& sink, const Directive& directive, double value) {
    char16_t conversion = directive.conversion;
    bool upper = conversion == u'E' || conversion == u'F' || conversion == u'G';
    bool negative = std::signbit(value);
    double magnitude = std::fabs(value);
    int precision = directive.precision < 0 ? DEFAULT_FLOAT_PRECISION : directive.precision;

    FloatBody body;
    bool finite = std::isfinite(magnitude);
    if (!finite) {
        std::memcpy(body.text, std::isinf(magnitude) ? "inf" : "nan", 3);
        body.headLength = 3;
        body.tailStart = 3;
    } else if (conversion == u'e' || conversion == u'E') {
        FormatScientific(body, magnitude, precision, directive.alternate);
    } else if (conversion == u'f' || conversion == u'F') {
        FormatFixed(body, magnitude, precision, directive.alternate);
    } else {
        FormatGeneral(body, magnitude, precision, directive.alternate);
    }
    if (upper) {
        std::transform(body.text, body.text + body.tailStart + body.tailLength, body.text,
                       [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    }

    char sign = negative ? '-' : directive.forceSign ? '+' : directive.spaceSign ? ' ' : '\0';
    std::size_t signLength = sign != '\0' ? 1 : 0;
    std::size_t bodyLength = signLength + body.Length();
    std::size_t zeroFill = 0;
    if (directive.zeroPad && !directive.leftAlign && finite &&
        static_cast<std::size_t>(directive.width) > bodyLength) {
        zeroFill = directive.width - bodyLength;
        bodyLength = directive.width;
    }
    if (!directive.leftAlign) {
        PadTo(sink, directive, bodyLength);
    }
    sink.PutNarrow(&sign, signLength);
    sink.Put(u'0', zeroFill);
    sink.PutNarrow(body.text, body.headLength);
    sink.Put(u'0', body.zeros);
    sink.PutNarrow(body.text + body.tailStart, body.tailLength);
    if (directive.leftAlign) {
        PadTo(sink, directive, bodyLength);
    }
}

// ---- characters, texts, pointers ----

void FormatUnits(OutputSink& sink, const Directive& directive, const char16_t* text, std::size_t length) {
    if (!directive.leftAlign) {
        PadTo(sink, directive, length);
    }
    sink.PutWide(text, length);
    if (directive.leftAlign) {
        PadTo(sink, directive, length);
    }
}

void FormatText(OutputSink& sink, const Directive& directive, const char16_t* text) {
    if (text == nullptr) {
        text = NULL_TEXT;
    }
    std::size_t limit = directive.precision < 0 ? SIZE_MAX : static_cast<std::size_t>(directive.precision);
    std::size_t length = 0;
    while (length < limit && text[length] != u'\0') {
        ++length;
    }
    FormatUnits(sink, directive, text, length);
}

void FormatPointer(OutputSink& sink, const Directive& directive, const void* pointer) {
    auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
    char16_t digits[POINTER_DIGITS];
    for (int i = POINTER_DIGITS - 1; i >= 0; --i) {
        digits[i] = u"0123456789ABCDEF"[bits & 0xF];
        bits >>= 4;
    }
    FormatUnits(sink, directive, digits, POINTER_DIGITS);
}

bool IsFloatLength(LengthModifier length) {
    return length == LengthModifier::None || length == LengthModifier::Long;
}

bool IsCharacterLength(LengthModifier length) {
    return length == LengthModifier::None || length == LengthModifier::Long;
}

// Formats one conversion; false when the conversion or its length modifier is not supported.
bool FormatConversion(OutputSink& sink, const Directive& directive, ArgumentList& list) {
    switch (directive.conversion) {
        case u'd':
        case u'i':
        case u'u':
        case u'x':
        case u'X':
        case u'o': {
            bool isSigned = directive.conversion == u'd' || directive.conversion == u'i';
            FormatInteger(sink, directive, ReadInteger(list, directive.length, isSigned));
            return true;
        }
        case u'e':
        case u'E':
        case u'f':
        case u'F':
        case u'g':
        case u'G':
            if (!IsFloatLength(directive.length)) {
                return false;
            }
            FormatFloat(sink, directive, va_arg(list.args, double));
            return true;
        case u'c': {
            if (!IsCharacterLength(directive.length)) {
                return false;
            }
            char16_t unit = static_cast<char16_t>(va_arg(list.args, int));
            FormatUnits(sink, directive, &unit, 1);
            return true;
        }
        case u's':
            if (!IsCharacterLength(directive.length)) {
                return false;
            }
            FormatText(sink, directive, va_arg(list.args, const char16_t*));
            return true;
        case u'p':
            if (directive.length != LengthModifier::None) {
                return false;
            }
            FormatPointer(sink, directive, va_arg(list.args, const void*));
            return true;
        default:
            return false;
    }
}

}  // namespace

int FormatWideV(char16_t* out, std::size_t capacity, const char16_t* format, std::va_list args) {
    OutputSink sink(out, capacity);
    if (format == nullptr) {
        sink.Fail();
        return -1;
    }
    ArgumentList list;
    va_copy(list.args, args);
    bool valid = true;
    const char16_t* cursor = format;
    while (valid && *cursor != u'\0') {
        const char16_t* literal = cursor;
        while (*cursor != u'\0' && *cursor != u'%') {
            ++cursor;
        }
        sink.PutWide(literal, static_cast<std::size_t>(cursor - literal));
        if (*cursor == u'\0') {
            break;
        }
        ++cursor;
        if (*cursor == u'%') {
            sink.Put(u'%');
            ++cursor;
            continue;
        }
        Directive directive;
        valid = ParseDirective(cursor, list, directive) && FormatConversion(sink, directive, list);
    }
    va_end(list.args);
    int length = valid ? sink.Finish() : -1;
    if (length < 0) {
        sink.Fail();
    }
    return length;
}

int FormatWide(char16_t* out, std::size_t capacity, const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    int length = FormatWideV(out, capacity, format, args);
    va_end(args);
    return length;
}
