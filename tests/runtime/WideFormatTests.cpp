#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/WideFormat.h"

namespace {

// A readable trace line for a text that may be null.
std::string Describe(const char16_t* text) {
    return text == nullptr ? std::string("(null)") : testing::PrintToString(std::u16string(text));
}

constexpr std::size_t BUFFER_UNITS = 512;

template <typename... Args>
std::u16string Format(const char16_t* format, Args... args) {
    char16_t buffer[BUFFER_UNITS];
    int length = FormatWide(buffer, BUFFER_UNITS, format, args...);
    EXPECT_GE(length, 0) << "format failed";
    EXPECT_EQ(static_cast<std::size_t>(length), std::char_traits<char16_t>::length(buffer));
    return length < 0 ? u"<error>" : std::u16string(buffer);
}

template <typename T>
struct Row {
    const char16_t* format;
    T value;
    const char16_t* expected;
};

template <typename T, std::size_t N>
void ExpectRows(const Row<T> (&rows)[N]) {
    for (const Row<T>& row : rows) {
        SCOPED_TRACE(Describe(row.format));
        EXPECT_EQ(Format(row.format, row.value), row.expected);
    }
}

int CallThroughVaList(char16_t* out, std::size_t capacity, const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    int first = FormatWideV(nullptr, 0, format, args);
    int second = FormatWideV(out, capacity, format, args);
    va_end(args);
    return first == second ? second : -2;
}

}  // namespace

TEST(WideFormat, FormatsTheConversionsTheProgramUses) {
    EXPECT_EQ(Format(u"%d", 42), u"42");
    EXPECT_EQ(Format(u"%s", u"文件清单"), u"文件清单");
    EXPECT_EQ(Format(u"%.8G", 0.1), u"0.1");
    EXPECT_EQ(Format(u"%.15G", 1e20), u"1E+20");
    EXPECT_EQ(Format(u"%02X", 0xA), u"0A");
    EXPECT_EQ(Format(u"%I64X", 0x1234ABCDEF567890LL), u"1234ABCDEF567890");
    EXPECT_EQ(Format(u"%d年%d月%d日", 2024, 3, 5), u"2024年3月5日");
}

TEST(WideFormat, FormatsIntegersWithFlagsWidthAndPrecision) {
    const Row<int> rows[] = {
        {u"%d", 0, u"0"},
        {u"%d", -1, u"-1"},
        {u"%d", INT_MIN, u"-2147483648"},
        {u"%i", INT_MAX, u"2147483647"},
        {u"%5d", 42, u"   42"},
        {u"%-5d|", 42, u"42   |"},
        {u"%05d", -42, u"-0042"},
        {u"%+d", 42, u"+42"},
        {u"% d", 42, u" 42"},
        {u"%+ d", 42, u"+42"},
        {u"%.4d", 42, u"0042"},
        {u"%08.4d", 42, u"    0042"},
        {u"%-05d|", 42, u"42   |"},
        {u"%.0d", 0, u""},
        {u"%5.0d|", 0, u"     |"},
        {u"%u", -1, u"4294967295"},
        {u"%+u", 5, u"5"},
        {u"%x", 255, u"ff"},
        {u"%X", 255, u"FF"},
        {u"%#x", 255, u"0xff"},
        {u"%#X", 255, u"0XFF"},
        {u"%#x", 0, u"0"},
        {u"%#08x", 255, u"0x0000ff"},
        {u"%o", 8, u"10"},
        {u"%#o", 8, u"010"},
        {u"%#o", 0, u"0"},
        {u"%#.0o", 0, u"0"},
        {u"%#.3o", 8, u"010"},
        {u"%hhd", 300, u"44"},
        {u"%hhu", -1, u"255"},
        {u"%hd", 70000, u"4464"},
        {u"%hu", -1, u"65535"},
        {u"%I32d", -7, u"-7"},
    };
    ExpectRows(rows);
}

TEST(WideFormat, ReadsEveryLengthModifierAtItsOwnWidth) {
    EXPECT_EQ(Format(u"%lld", LLONG_MIN), u"-9223372036854775808");
    EXPECT_EQ(Format(u"%llu", ULLONG_MAX), u"18446744073709551615");
    EXPECT_EQ(Format(u"%I64d", static_cast<std::int64_t>(INT64_MIN)), u"-9223372036854775808");
    EXPECT_EQ(Format(u"%I64u", static_cast<std::uint64_t>(UINT64_MAX)), u"18446744073709551615");
    EXPECT_EQ(Format(u"%ld", -5L), u"-5");
    EXPECT_EQ(Format(u"%lx", 0xBEEFUL), u"beef");
    EXPECT_EQ(Format(u"%zu", SIZE_MAX), Format(u"%I64u", static_cast<std::uint64_t>(SIZE_MAX)));
    EXPECT_EQ(Format(u"%zd", static_cast<std::ptrdiff_t>(-3)), u"-3");
    EXPECT_EQ(Format(u"%jd", static_cast<std::intmax_t>(INTMAX_MIN)), u"-9223372036854775808");
    EXPECT_EQ(Format(u"%td", static_cast<std::ptrdiff_t>(-9)), u"-9");
    EXPECT_EQ(Format(u"%Iu", static_cast<std::size_t>(12)), u"12");
    // The argument after a wide one is read from the right place.
    EXPECT_EQ(Format(u"%lld %d", 1LL << 40, 7), u"1099511627776 7");
}

TEST(WideFormat, FormatsFloatingPointLikeC99) {
    const Row<double> rows[] = {
        {u"%f", 0.0, u"0.000000"},
        {u"%f", -0.0, u"-0.000000"},
        {u"%f", 1.5, u"1.500000"},
        {u"%.0f", 2.5, u"2"},
        {u"%.0f", 3.5, u"4"},
        {u"%#.0f", 2.0, u"2."},
        {u"%.2f", 1.005, u"1.00"},
        {u"%010.3f", -3.14159, u"-00003.142"},
        {u"%-9.2f|", 3.14159, u"3.14     |"},
        {u"%+.1f", 2.0, u"+2.0"},
        {u"% .1f", 2.0, u" 2.0"},
        {u"%F", 1e15, u"1000000000000000.000000"},
        {u"%e", 0.0, u"0.000000e+00"},
        {u"%e", 123.456, u"1.234560e+02"},
        {u"%E", 1e-300, u"1.000000E-300"},
        {u"%.0e", 15.0, u"2e+01"},
        {u"%#.0e", 1.0, u"1.e+00"},
        {u"%12.3e", -1234.5, u"  -1.234e+03"},
        {u"%g", 100000.0, u"100000"},
        {u"%g", 1000000.0, u"1e+06"},
        {u"%g", 0.0001, u"0.0001"},
        {u"%g", 0.00001, u"1e-05"},
        {u"%g", 0.0, u"0"},
        {u"%G", 1e-10, u"1E-10"},
        {u"%.3g", 1234.0, u"1.23e+03"},
        {u"%#.3g", 1.0, u"1.00"},
        {u"%#g", 999999.5, u"1.00000e+06"},
        {u"%.0g", 123.0, u"1e+02"},
        {u"%.8G", 0.1, u"0.1"},
        {u"%.8G", 123456789.0, u"1.2345679E+08"},
        {u"%.15G", 1e20, u"1E+20"},
        {u"%.15G", 1.0 / 3.0, u"0.333333333333333"},
        {u"%.15G", 123456789012345.0, u"123456789012345"},
        {u"%.15G", 1e-5, u"1E-05"},
        {u"%.15G", 1.7976931348623157e308, u"1.79769313486232E+308"},
        {u"%.17g", 0.1, u"0.10000000000000001"},
        {u"%.3e", 5e-324, u"4.941e-324"},
    };
    ExpectRows(rows);
}

TEST(WideFormat, WritesInfinityAndNanAsWords) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row<double> rows[] = {
        {u"%f", inf, u"inf"},      {u"%F", inf, u"INF"},      {u"%e", -inf, u"-inf"},
        {u"%G", -inf, u"-INF"},    {u"%g", nan, u"nan"},      {u"%E", nan, u"NAN"},
        {u"%+f", inf, u"+inf"},    {u"%06f", inf, u"   inf"}, {u"%-6f|", nan, u"nan   |"},
        {u"%.15G", -nan, u"-NAN"},
    };
    ExpectRows(rows);
}

TEST(WideFormat, ExtendsPrecisionBeyondTheExactDigitsWithZeros) {
    std::u16string fixed(1300, u'#');
    ASSERT_EQ(FormatWide(fixed.data(), fixed.size(), u"%.1200f", 0.5), 1202);
    fixed.resize(1202);
    EXPECT_EQ(fixed.substr(0, 4), u"0.50");
    EXPECT_EQ(fixed.find_first_not_of(u'0', 3), std::u16string::npos);

    char16_t buffer[8];
    int length = FormatWide(buffer, 8, u"%.900e", 1.0);
    EXPECT_EQ(length, 906);
    EXPECT_EQ(std::u16string(buffer), u"1.00000");
    EXPECT_EQ(FormatWide(nullptr, 0, u"%.1000000f", 1.0), 1000002);
}

TEST(WideFormat, FormatsCharactersTextsAndPointers) {
    EXPECT_EQ(Format(u"%c", static_cast<int>(u'中')), u"中");
    EXPECT_EQ(Format(u"[%3c]", static_cast<int>(u'x')), u"[  x]");
    EXPECT_EQ(Format(u"[%-3c]", static_cast<int>(u'x')), u"[x  ]");
    EXPECT_EQ(Format(u"[%lc]", static_cast<int>(u'y')), u"[y]");
    EXPECT_EQ(Format(u"[%s]", static_cast<const char16_t*>(nullptr)), u"[(null)]");
    EXPECT_EQ(Format(u"[%.3s]", static_cast<const char16_t*>(nullptr)), u"[(nu]");
    EXPECT_EQ(Format(u"[%6.2s]", u"abcdef"), u"[    ab]");
    EXPECT_EQ(Format(u"[%-6s]", u"ab"), u"[ab    ]");
    EXPECT_EQ(Format(u"[%ls]", u"wide"), u"[wide]");
    EXPECT_EQ(Format(u"[%s]", u""), u"[]");
    EXPECT_EQ(Format(u"%p", reinterpret_cast<const void*>(0x12ABu)), u"00000000000012AB");
    EXPECT_EQ(Format(u"%p", static_cast<const void*>(nullptr)), u"0000000000000000");
    EXPECT_EQ(Format(u"[%20p]", reinterpret_cast<const void*>(0x1u)), u"[    0000000000000001]");
    EXPECT_EQ(Format(u"100%% done"), u"100% done");
}

TEST(WideFormat, TakesWidthAndPrecisionFromArguments) {
    EXPECT_EQ(Format(u"[%*d]", 5, 42), u"[   42]");
    EXPECT_EQ(Format(u"[%*d]", -5, 42), u"[42   ]");
    EXPECT_EQ(Format(u"[%.*f]", 2, 3.14159), u"[3.14]");
    EXPECT_EQ(Format(u"[%.*f]", -1, 3.14159), u"[3.141590]");
    EXPECT_EQ(Format(u"[%*.*s]", 4, 2, u"xyz"), u"[  xy]");
}

TEST(WideFormat, TruncatesToTheCapacityAndReportsTheFullLength) {
    char16_t buffer[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
    EXPECT_EQ(FormatWide(buffer, 5, u"%s-%d", u"abc", 12345), 9);
    EXPECT_EQ(std::u16string(buffer), u"abc-");
    EXPECT_EQ(buffer[5], u'#');  // nothing past the capacity

    EXPECT_EQ(FormatWide(buffer, 1, u"%d", 12345), 5);
    EXPECT_EQ(buffer[0], u'\0');
    EXPECT_EQ(FormatWide(nullptr, 0, u"%d", 12345), 5);
    EXPECT_EQ(FormatWide(buffer, 8, u""), 0);
    EXPECT_EQ(buffer[0], u'\0');

    char16_t exact[6];
    EXPECT_EQ(FormatWide(exact, 6, u"%05d", 7), 5);
    EXPECT_EQ(std::u16string(exact), u"00007");
}

TEST(WideFormat, ZeroCapacityMeasuresWithoutWriting) {
    char16_t untouched[4] = {u'a', u'b', u'c', u'\0'};
    EXPECT_EQ(FormatWide(untouched, 0, u"%s", u"longer text"), 11);
    EXPECT_EQ(std::u16string(untouched), u"abc");
}

TEST(WideFormat, LeavesTheCallersArgumentListReusable) {
    char16_t buffer[32];
    EXPECT_EQ(CallThroughVaList(buffer, 32, u"%s=%d", u"n", 17), 4);
    EXPECT_EQ(std::u16string(buffer), u"n=17");
}

TEST(WideFormat, RejectsInvalidFormatsWithEmptyOutput) {
    const char16_t* const invalid[] = {
        u"%",   u"abc%", u"%q",    u"%n",           u"%hn",           u"%5%", u"%-%", u"%Lf", u"%hs", u"%hc",
        u"%lp", u"%hhf", u"%I64s", u"%2147483648d", u"%.2147483648d", u"%C",  u"%S",  u"%a",  u"%w",
    };
    for (const char16_t* format : invalid) {
        SCOPED_TRACE(Describe(format));
        char16_t buffer[16] = {u'#'};
        int dummy = 0;
        EXPECT_EQ(FormatWide(buffer, 16, format, &dummy, &dummy), -1);
        EXPECT_EQ(buffer[0], u'\0');
    }
    char16_t buffer[4] = {u'#'};
    EXPECT_EQ(FormatWide(buffer, 4, nullptr), -1);
    EXPECT_EQ(buffer[0], u'\0');
}

TEST(WideFormat, RejectsResultsLongerThanAnInt) {
    EXPECT_EQ(FormatWide(nullptr, 0, u"%2147483647d", 1), INT_MAX);
    EXPECT_EQ(FormatWide(nullptr, 0, u"%2147483647d%d", 1, 2), -1);
    EXPECT_EQ(FormatWide(nullptr, 0, u"%*d", INT_MIN, 1), -1);
    // The largest precision of %g asks for more fraction digits than an int counts.
    EXPECT_EQ(Format(u"%.2147483647g", 0.5), u"0.5");
    EXPECT_EQ(FormatWide(nullptr, 0, u"%#.2147483647g", 0.5), -1);
}
