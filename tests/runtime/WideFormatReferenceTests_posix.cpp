// Compares the formatter with the C library's narrow snprintf, an independent implementation of the
// same C99 rules. Only here: the Windows C runtime formats some of these differently.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "runtime/WideFormat.h"

namespace {

std::u16string Widen(const char* text) {
    std::u16string wide;
    for (; *text != '\0'; ++text) {
        wide.push_back(static_cast<unsigned char>(*text));
    }
    return wide;
}

template <typename T>
void ExpectMatchesReference(const char* format, T value) {
    char reference[2048];
    int referenceLength = std::snprintf(reference, sizeof reference, format, value);
    char16_t actual[2048];
    int actualLength = FormatWide(actual, 2048, Widen(format).c_str(), value);
    SCOPED_TRACE(testing::Message() << format << " reference \"" << reference << "\"");
    EXPECT_EQ(actualLength, referenceLength);
    EXPECT_EQ(std::u16string(actual), Widen(reference));
}

}  // namespace

TEST(WideFormatReference, IntegersMatchSnprintf) {
    const char* const formats[] = {"%d",   "%i",   "%7d",    "%-7d|",   "%07d", "%+d",   "% d",   "%+07d",
                                   "%.3d", "%.0d", "%8.3d",  "%-8.3d|", "%u",   "%10u",  "%x",    "%#x",
                                   "%X",   "%#X",  "%#010x", "%o",      "%#o",  "%.0o",  "%#.0o", "%.0x",
                                   "%hhd", "%hhu", "%hd",    "%hu",     "%hx",  "%#.5x", "%+.0d", "% .0d"};
    const int values[] = {0,    1,    -1,    7,     -7,      42,      255,  256,
                          -256, 4096, 65535, 65536, INT_MAX, INT_MIN, 0x7F, 0x80};
    for (const char* format : formats) {
        for (int value : values) {
            ExpectMatchesReference(format, value);
        }
    }
}

TEST(WideFormatReference, LongIntegersMatchSnprintf) {
    const char* const formats[] = {"%lld",     "%llu",    "%llx",    "%#llo", "%+lld", "%25lld",
                                   "%-25lld|", "%025lld", "%.20lld", "%jd",   "%ld",   "%lu"};
    const long long values[] = {0, 1, -1, LLONG_MAX, LLONG_MIN, 1234567890123LL, -987654321098LL};
    for (const char* format : formats) {
        for (long long value : values) {
            ExpectMatchesReference(format, value);
        }
    }
}

TEST(WideFormatReference, FloatingPointMatchesSnprintf) {
    // "%#g" is left out: the reference drops the zeros after a rounding carry (999999.5 gives "1.e+06"),
    // where C99 keeps precision - 1 of them.
    const char* const formats[] = {"%e",      "%E",       "%f",      "%F",    "%g",     "%G",     "%.0e",
                                   "%#.0e",   "%.0f",     "%#.0f",   "%.3g",  "%#.3g",  "%+g",    "% g",
                                   "%010.3f", "%-12.3e|", "%+012g",  "%.15G", "%.8G",   "%.20f",  "%.17g",
                                   "%.0g",    "%#.0g",    "%#10.0g", "%.30e", "%.400f", "%.500e", "%.40g",
                                   "%08.2f",  "%-8.2f|",  "%.1e",    "%.2g"};
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             -1.0,
                             0.1,
                             0.5,
                             1.5,
                             2.5,
                             -2.5,
                             1e20,
                             123.456,
                             1e-5,
                             1e-4,
                             0.0001234,
                             99999.5,
                             999999.5,
                             9.9999995,
                             1e300,
                             1.7976931348623157e308,
                             5e-324,
                             2.2250738585072014e-308,
                             100.0,
                             1e15,
                             123456789012345678.0,
                             0.3,
                             2.0 / 3.0,
                             1e-7,
                             6.02214076e23,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (const char* format : formats) {
        for (double value : values) {
            ExpectMatchesReference(format, value);
        }
    }
}
