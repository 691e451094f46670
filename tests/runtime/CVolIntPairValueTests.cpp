#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "RuntimePrinters.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CVolPointValue.h"
#include "runtime/CVolSizeValue.h"

namespace {

using vol::CVolPointValue;
using vol::CVolSizeValue;

TEST(CVolIntPairValue, Texts) {
    struct Row {
        std::int32_t first;
        std::int32_t second;
        const char16_t* point;
        const char16_t* size;
    };
    const Row rows[] = {
        {0, 0, u"{ 横向位置: 0; 纵向位置: 0 }", u"{ 宽度: 0; 高度: 0 }"},
        {12, -7, u"{ 横向位置: 12; 纵向位置: -7 }", u"{ 宽度: 12; 高度: -7 }"},
        {INT32_MIN, INT32_MAX, u"{ 横向位置: -2147483648; 纵向位置: 2147483647 }",
         u"{ 宽度: -2147483648; 高度: 2147483647 }"},
    };
    for (const Row& row : rows) {
        CWString out(u"stale");
        CVolPointValue(row.first, row.second).GetDumpText(out, 0);
        EXPECT_EQ(TextOf(out), row.point);
        CVolSizeValue(row.first, row.second).GetDumpText(out, 0);
        EXPECT_EQ(TextOf(out), row.size);
    }
}

TEST(CVolIntPairValue, EqualityNeedsClassBothNumbersAndTag) {
    const CVolPointValue point(3, 4);
    CVolPointValue tagged(3, 4);
    tagged.SetTag(1);
    EXPECT_TRUE(point.IsEqual(CVolPointValue(3, 4)));
    EXPECT_FALSE(point.IsEqual(CVolPointValue(3, 5)));
    EXPECT_FALSE(point.IsEqual(CVolPointValue(4, 4)));
    EXPECT_FALSE(point.IsEqual(tagged));
    EXPECT_FALSE(point.IsEqual(CVolSizeValue(3, 4)));
    EXPECT_FALSE(CVolSizeValue(3, 4).IsEqual(point));
}

TEST(CVolIntPairValue, AssignAndReset) {
    CVolSizeValue size(1, 2);
    EXPECT_FALSE(size.Assign(CVolPointValue(5, 6))) << "a point is not a size";
    EXPECT_EQ(size.GetWidth(), 1);

    CVolSizeValue source(30, 40);
    source.SetTag(9);
    ASSERT_TRUE(size.Assign(source));
    EXPECT_EQ(size.GetWidth(), 30);
    EXPECT_EQ(size.GetHeight(), 40);
    EXPECT_EQ(size.GetTag(), 9u);

    size.Reset();
    EXPECT_TRUE(size.IsEqual(CVolSizeValue()));
}

TEST(CVolIntPairValue, StreamIsFirstThenSecondLittleEndian) {
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    CVolPointValue(0x01020304, -2).SaveToStream(output);
    ASSERT_EQ(output.GetStatus(), 0);
    EXPECT_EQ(bytes, (std::vector<unsigned char>{4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}));

    CVolInStream input(bytes.data(), bytes.size());
    CVolPointValue loaded;
    loaded.LoadFromStream(input);
    EXPECT_EQ(input.GetStatus(), 0);
    EXPECT_EQ(loaded.GetHorizontal(), 0x01020304);
    EXPECT_EQ(loaded.GetVertical(), -2);
}

TEST(CVolIntPairValue, ShortReadKeepsBothNumbers) {
    const unsigned char bytes[] = {9, 0, 0, 0, 9, 0, 0};  // one number and three bytes
    CVolInStream input(bytes, sizeof bytes);
    CVolSizeValue size(1, 2);
    size.LoadFromStream(input);
    EXPECT_EQ(input.GetStatus(), CVolStream::kShortRead);
    EXPECT_EQ(size.GetWidth(), 1);
    EXPECT_EQ(size.GetHeight(), 2);
}

}  // namespace
