#include <gtest/gtest.h>

#include <vector>

#include "RuntimePrinters.h"
#include "runtime/CU8String.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWString.h"

namespace {

TEST(CU8String, ConvertsWideTextAndStoresItWithOneNul) {
    const CU8String text(u"文件 a");
    EXPECT_STREQ(text.GetText(), "\xE6\x96\x87\xE4\xBB\xB6 a");
    EXPECT_EQ(text.GetLength(), 8);
    EXPECT_EQ(text.GetBuffer().GetSize(), 9);
    EXPECT_EQ(text.GetBuffer().GetGrowthStep(), CU8String::kGrowthStep);
}

TEST(CU8String, EmptyOrNullWideTextGivesAnEmptyString) {
    for (const char16_t* wide : {static_cast<const char16_t*>(nullptr), u""}) {
        const CU8String text(wide);
        EXPECT_TRUE(text.IsEmpty());
        EXPECT_STREQ(text.GetText(), "");
        EXPECT_EQ(text.GetBuffer().GetSize(), 0);
    }
}

TEST(CU8String, ALiteralIsViewedNotCopied) {
    static const char kLiteral[] = "view";
    const CU8String text(kLiteral);
    EXPECT_EQ(text.GetText(), kLiteral);
    const CU8String copy(text);
    EXPECT_EQ(copy.GetText(), kLiteral);
    EXPECT_EQ(copy.GetBuffer().GetSize(), 0);
}

TEST(CU8String, EqualityComparesTheBytesNotTheState) {
    EXPECT_TRUE(CU8String("abc").IsEqual(CU8String(u"abc")));
    EXPECT_FALSE(CU8String("abc").IsEqual(CU8String(u"abd")));
    EXPECT_TRUE(CU8String().IsEqual(CU8String("")));
    CU8String tagged(u"abc");
    tagged.SetTag(2);
    EXPECT_FALSE(tagged.IsEqual(CU8String("abc")));
    EXPECT_FALSE(CU8String("abc").IsEqual(CWString(u"abc")));
    EXPECT_TRUE(tagged.IsKindOf(CVolObject::ClassInfo()));
}

TEST(CU8String, SavesALiteralAsAnOwnedBufferAndLoadsIt) {
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    CU8String("hi").SaveToStream(output);
    EXPECT_EQ(bytes, (std::vector<unsigned char>{3, 0, 0, 0, 'h', 'i', 0}));
    CVolInStream input(bytes.data(), bytes.size());
    CU8String loaded(u"previous");
    loaded.LoadFromStream(input);
    EXPECT_STREQ(loaded.GetText(), "hi");
    EXPECT_EQ(loaded.GetConstText(), nullptr);
}

TEST(CU8String, LoadingBytesWithoutTheirNulIsRefused) {
    const unsigned char bytes[] = {2, 0, 0, 0, 'h', 'i'};
    CVolInStream input(bytes, sizeof bytes);
    CU8String loaded(u"previous");
    loaded.LoadFromStream(input);
    EXPECT_EQ(input.GetStatus(), CVolStream::kShortRead);
    EXPECT_TRUE(loaded.IsEmpty());
}

}  // namespace
