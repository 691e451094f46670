#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/CVolMem.h"
#include "runtime/Utf8Conversion.h"

namespace {

struct Sample {
    const char16_t* wide;
    const char* utf8;
};

const Sample kSamples[] = {
    {u"abc", "abc"},
    {u"é", "\xC3\xA9"},
    {u"€", "\xE2\x82\xAC"},
    {u"文件清单_.xlsx", "\xE6\x96\x87\xE4\xBB\xB6\xE6\xB8\x85\xE5\x8D\x95_.xlsx"},
    {u"\U0001F600", "\xF0\x9F\x98\x80"},  // a surrogate pair
    {u"a\u00FF\u0800\uFFFFz", "a\xC3\xBF\xE0\xA0\x80\xEF\xBF\xBFz"},
};

TEST(Utf8Conversion, WideToUtf8ConvertsAndTerminates) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.utf8);
        CVolMem out;
        const char* converted = WideToUtf8(s.wide, out);
        EXPECT_STREQ(converted, s.utf8);
        EXPECT_EQ(converted, reinterpret_cast<const char*>(out.GetData()));
        EXPECT_EQ(out.GetSize(), static_cast<std::int64_t>(std::strlen(s.utf8)) + 1);
    }
}

TEST(Utf8Conversion, Utf8ToWideConvertsAndTerminates) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.utf8);
        CVolMem out;
        const char16_t* converted = Utf8ToWide(s.utf8, out);
        EXPECT_EQ(std::u16string(converted), std::u16string(s.wide));
        EXPECT_EQ(out.GetSize(), static_cast<std::int64_t>(std::u16string(s.wide).size()) * 2 + 2);
    }
}

TEST(Utf8Conversion, EmptyAndNullGiveTheEmptyTextInAOneNulBuffer) {
    CVolMem narrow;
    narrow.Append("junk", 4);
    EXPECT_STREQ(WideToUtf8(u"", narrow), "");
    EXPECT_EQ(narrow.GetSize(), 1);
    EXPECT_STREQ(WideToUtf8(nullptr, narrow), "");
    EXPECT_EQ(narrow.GetSize(), 1);

    CVolMem wide;
    EXPECT_EQ(Utf8ToWide("", wide)[0], 0);
    EXPECT_EQ(wide.GetSize(), 2);
    EXPECT_EQ(Utf8ToWide(nullptr, wide)[0], 0);
    EXPECT_EQ(wide.GetSize(), 2);
}

TEST(Utf8Conversion, CodecMeasuresWithZeroCapacityAndRefusesASmallBuffer) {
    const char16_t text[] = u"a€";
    EXPECT_EQ(WideToUtf8Units(text, 2, nullptr, 0), 4);
    char small[3];
    EXPECT_EQ(WideToUtf8Units(text, 2, small, 3), 0);
    EXPECT_EQ(Utf8ToWideUnits("a\xE2\x82\xAC", 4, nullptr, 0), 2);
    char16_t one[1];
    EXPECT_EQ(Utf8ToWideUnits("ab", 2, one, 1), 0);
}

}  // namespace
