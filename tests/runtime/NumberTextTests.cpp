#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/NumberText.h"

namespace {

// A readable trace line for a text that may be null.
std::string Describe(const char16_t* text) {
    return text == nullptr ? std::string("(null)") : testing::PrintToString(std::u16string(text));
}

template <typename T>
struct TextRow {
    T value;
    const char16_t* expected;
};

struct ParseRow {
    const char16_t* text;
    std::int64_t expected;
};

}  // namespace

TEST(NumberText, Int32UsesDecimalDigits) {
    const TextRow<std::int32_t> rows[] = {
        {0, u"0"}, {7, u"7"}, {-7, u"-7"}, {INT32_MAX, u"2147483647"}, {INT32_MIN, u"-2147483648"},
    };
    for (const auto& row : rows) {
        char16_t out[INTEGER_TEXT_CAPACITY];
        int length = Int32ToText(row.value, out);
        EXPECT_EQ(std::u16string(out), row.expected) << row.value;
        EXPECT_EQ(static_cast<std::size_t>(length), std::char_traits<char16_t>::length(row.expected));
    }
}

TEST(NumberText, Int64FillsAtMostTheDocumentedBuffer) {
    const TextRow<std::int64_t> rows[] = {
        {0, u"0"},
        {1, u"1"},
        {-1, u"-1"},
        {10, u"10"},
        {-1000, u"-1000"},
        {1234567890123456789LL, u"1234567890123456789"},
        {INT64_MAX, u"9223372036854775807"},
        {INT64_MIN + 1, u"-9223372036854775807"},
        {INT64_MIN, u"-9223372036854775808"},
    };
    for (const auto& row : rows) {
        // Exactly the documented size: a longer write would be caught by the address sanitizer.
        char16_t out[INTEGER_TEXT_CAPACITY];
        int length = Int64ToText(row.value, out);
        EXPECT_EQ(std::u16string(out), row.expected) << row.value;
        EXPECT_EQ(static_cast<std::size_t>(length), std::char_traits<char16_t>::length(row.expected));
    }
}

TEST(NumberText, FloatShowsZeroNearZeroAndEightSignificantDigits) {
    const TextRow<float> rows[] = {
        {0.0f, u"0"},
        {0.0000005f, u"0"},
        {-0.0000005f, u"0"},
        {1e-6f, u"0"},
        {2e-6f, u"2E-06"},
        {0.1f, u"0.1"},
        {-1.5f, u"-1.5"},
        {123456789.0f, u"1.2345679E+08"},
        {3.4028235e38f, u"3.4028235E+38"},
        {std::numeric_limits<float>::infinity(), u"INF"},
    };
    for (const auto& row : rows) {
        char16_t out[REAL_TEXT_CAPACITY];
        FloatToText(row.value, out);
        EXPECT_EQ(std::u16string(out), row.expected) << row.value;
    }
}

TEST(NumberText, DoubleShowsZeroNearZeroAndFifteenSignificantDigits) {
    const TextRow<double> rows[] = {
        {0.0, u"0"},
        {1e-6, u"0"},
        {-1e-6, u"0"},
        {1.0000001e-6, u"1.0000001E-06"},
        {0.1, u"0.1"},
        {1e20, u"1E+20"},
        {1e15, u"1E+15"},
        {123456789012345.0, u"123456789012345"},
        {1.0 / 3.0, u"0.333333333333333"},
        {-2.5e-6, u"-2.5E-06"},
        {-1.7976931348623157e308, u"-1.79769313486232E+308"},
        {std::numeric_limits<double>::quiet_NaN(), u"NAN"},
    };
    for (const auto& row : rows) {
        char16_t out[REAL_TEXT_CAPACITY];
        DoubleToText(row.value, out);
        EXPECT_EQ(std::u16string(out), row.expected) << row.value;
    }
}

TEST(NumberText, ParseDecimalSkipsControlUnitsAndStopsAtTheFirstNonDigit) {
    const ParseRow rows[] = {
        {nullptr, 0},
        {u"", 0},
        {u"   ", 0},
        {u"  -42", -42},
        {u"\t\r\n\x01 17", 17},
        {u"+5", 5},
        {u"12ab", 12},
        {u"-", 0},
        {u"- 5", 0},
        {u"+-5", 0},
        {u"!5", 0},
        {u"\u00A05", 0},  // no-break space is not skipped
        {u"\u3000"
         u"5",
         0},
        {u"007", 7},
        {u"1 2", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        EXPECT_EQ(ParseDecimal64(row.text), row.expected);
    }
}

TEST(NumberText, ParseDecimalSaturatesExactlyAtTheLimits) {
    const ParseRow rows[] = {
        {u"9223372036854775806", INT64_MAX - 1},  {u"9223372036854775807", INT64_MAX},
        {u"9223372036854775808", INT64_MAX},      {u"99999999999999999999999", INT64_MAX},
        {u"92233720368547758070", INT64_MAX},     {u"-9223372036854775807", INT64_MIN + 1},
        {u"-9223372036854775808", INT64_MIN},     {u"-9223372036854775809", INT64_MIN},
        {u"-99999999999999999999999", INT64_MIN}, {u"922337203685477580", 922337203685477580LL},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        EXPECT_EQ(ParseDecimal64(row.text), row.expected);
    }
}

TEST(NumberText, ParseHexAcceptsAnOptionalPrefixAndWraps) {
    const ParseRow rows[] = {
        {nullptr, 0},
        {u"", 0},
        {u"0x1F", 31},
        {u"0X1f", 31},
        {u"1f", 31},
        {u"1F", 31},
        {u"ff zz", 255},
        {u"0x", 0},
        {u"0x0x1", 0},
        {u"x1", 0},
        {u" 1", 0},
        {u"g", 0},
        {u"7FFFFFFFFFFFFFFF", INT64_MAX},
        {u"FFFFFFFFFFFFFFFF", -1},
        {u"123456789ABCDEF01", 0x23456789ABCDEF01LL},
        {u"0x00000000000000000000000A", 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        EXPECT_EQ(ParseHex64(row.text), row.expected);
    }
}

TEST(NumberText, RoundDoubleRoundsHalvesAwayFromZeroAfterTheNudge) {
    const struct {
        double value;
        double expected;
    } rows[] = {
        {2.5, 3.0},         {-2.5, -3.0},
        {2.4999995, 3.0},   {2.4999985, 2.0},
        {-2.4999995, -3.0}, {0.5, 1.0},
        {-1.4, -1.0},       {7.0, 7.0},
        {1e300, 1e300},     {4503599627370495.5, 4503599627370496.0},
        {5e-7, 5e-7},       {-1e-6, -1e-6},
        {0.0, 0.0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RoundDouble(row.value), row.expected) << row.value;
    }
    EXPECT_TRUE(std::signbit(RoundDouble(-0.4)));
    EXPECT_TRUE(std::isnan(RoundDouble(std::numeric_limits<double>::quiet_NaN())));
}
