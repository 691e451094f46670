#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RuntimePrinters.h"
#include "runtime/CMStringArray.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolObject.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWString.h"

namespace {

std::vector<std::u16string> TextsOf(const CMStringArray& array) {
    std::vector<std::u16string> texts;
    for (std::int64_t i = 0; i < array.GetCount(); ++i) {
        texts.emplace_back(array.GetAt(i));
    }
    return texts;
}

std::u16string DumpOf(const CMStringArray& array, int limit) {
    CWString out;
    array.GetDumpText(out, limit);
    return TextOf(out);
}

TEST(CMStringArray, AppendCopiesAndReturnsTheIndex) {
    CMStringArray array;
    char16_t text[] = u"abc";
    EXPECT_EQ(array.Append(text), 0);
    EXPECT_EQ(array.Append(nullptr), 1);
    EXPECT_EQ(array.Append(u""), 2);
    text[0] = u'X';
    EXPECT_EQ(TextsOf(array), (std::vector<std::u16string>{u"abc", u"", u""}));
    EXPECT_EQ(std::u16string(array.GetAt(3)), u"") << "outside the array";
    EXPECT_EQ(std::u16string(array.GetAt(-1)), u"");
    array.Clear();
    EXPECT_EQ(array.GetCount(), 0);
}

TEST(CMStringArray, HoldsAQuarterMillionAppends) {
    CMStringArray array;
    CWString text;
    for (int i = 0; i < 250000; ++i) {
        text.Format(u"C:\\files\\%d.txt", i);
        ASSERT_EQ(array.Append(text.GetText()), i);
    }
    EXPECT_EQ(std::u16string(array.GetAt(0)), u"C:\\files\\0.txt");
    EXPECT_EQ(std::u16string(array.GetAt(123456)), u"C:\\files\\123456.txt");
    EXPECT_EQ(std::u16string(array.GetAt(249999)), u"C:\\files\\249999.txt");
}

TEST(CMStringArray, CopiesAreDeep) {
    CMStringArray original;
    original.Append(u"one");
    CMStringArray copy(original);
    copy.Append(u"two");
    EXPECT_EQ(original.GetCount(), 1);
    EXPECT_NE(copy.GetAt(0), original.GetAt(0));
    copy = original;
    EXPECT_EQ(TextsOf(copy), TextsOf(original));
}

TEST(CMStringArray, DumpQuotesAndEscapesEachMember) {
    struct Case {
        const char16_t* text;
        std::u16string quoted;
    };
    const Case cases[] = {
        {u"a\tb\"c", u"\"a\\tb\\\"c\""}, {u"\x01", u"\"\\x01\""},
        {u"\x1F", u"\"\\x1F\""},         {u"\b\f\n\r", u"\"\\b\\f\\n\\r\""},
        {u"it's", u"\"it\\'s\""},        {u"C:\\a", u"\"C:\\\\a\""},
        {u"文 x", u"\"文 x\""},          {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quoted.size());
        CMStringArray array;
        array.Append(c.text);
        EXPECT_EQ(DumpOf(array, 0), u"<数组> 总共 1 个成员:\r\n1. " + c.quoted);
    }
}

TEST(CMStringArray, DumpLimitsTheMembersShown) {
    CMStringArray array;
    for (int i = 0; i < 70; ++i) {
        array.Append(u"m");
    }
    const std::u16string limited = DumpOf(array, 0);
    EXPECT_EQ(limited.rfind(u"<数组> 总共 70 个成员,输出了 64 个,还有 6 个未被输出.", 0), 0u);
    EXPECT_NE(limited.find(u"\r\n64. \"m\""), std::u16string::npos);
    EXPECT_EQ(limited.find(u"\r\n65. "), std::u16string::npos);
    EXPECT_NE(DumpOf(array, -1).find(u"\r\n70. \"m\""), std::u16string::npos);
    EXPECT_EQ(DumpOf(array, 70).rfind(u"<数组> 总共 70 个成员:", 0), 0u);
}

TEST(CMStringArray, Split) {
    struct Case {
        const char16_t* text;
        const char16_t* delimiters;
        std::vector<std::u16string> pieces;
    };
    const Case cases[] = {
        {u"a,b,c", u",", {u"a", u"b", u"c"}},
        {u" a , b\t", u",", {u"a", u"b"}},
        {u"a,b,", u",", {u"a", u"b", u""}},
        {u",", u",", {u"", u""}},
        {u"a,,b", u",", {u"a", u"", u"b"}},
        {u"a;b,c", u";,", {u"a", u"b", u"c"}},
        {u"\u3000x\u3000;\r\ny ", u";", {u"x", u"y"}},
        {u"  ", u",", {u""}},
        {u"abc", nullptr, {u"abc"}},
        {u"", u",", {}},
        {nullptr, u",", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CWString(c.text));
        CMStringArray array;
        array.Append(u"left over");
        EXPECT_EQ(array.Split(c.text, c.delimiters), static_cast<std::int64_t>(c.pieces.size()));
        EXPECT_EQ(TextsOf(array), c.pieces);
    }
}

TEST(CMStringArray, SaveAndLoadRoundTrip) {
    CMStringArray original;
    original.Append(u"ab");
    original.Append(nullptr);
    original.Append(u"文件");
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    original.Save(output);
    const std::vector<unsigned char> head{3, 0, 0, 0, 6, 0, 0, 0, 'a', 0, 'b', 0, 0, 0, 0, 0, 0, 0};
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + head.size()), head);

    CVolInStream input(bytes.data(), bytes.size());
    CMStringArray loaded;
    loaded.Append(u"old");
    loaded.Load(input);
    EXPECT_EQ(input.GetStatus(), CVolStream::kGood);
    EXPECT_EQ(TextsOf(loaded), TextsOf(original));
}

TEST(CMStringArray, LoadStopsAtTheFirstBadText) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        std::size_t kept;
    };
    const Case cases[] = {
        {"short count", {2, 0}, 0},
        {"negative count", {0xFF, 0xFF, 0xFF, 0xFF}, 0},
        {"missing second text", {2, 0, 0, 0, 4, 0, 0, 0, 'a', 0, 0, 0}, 1},
        {"text without NUL", {1, 0, 0, 0, 2, 0, 0, 0, 'a', 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVolInStream input(c.bytes.data(), c.bytes.size());
        CMStringArray loaded;
        loaded.Load(input);
        EXPECT_EQ(input.GetStatus(), CVolStream::kShortRead);
        EXPECT_EQ(static_cast<std::size_t>(loaded.GetCount()), c.kept);
    }
}

TEST(CMStringArray, RecordHasNoCreatorAndNoValueObjectBase) {
    const CMStringArray array;
    EXPECT_TRUE(array.IsKindOf(CMStringArray::ClassInfo()));
    EXPECT_FALSE(array.IsKindOf(CVolObject::ClassInfo()));
    EXPECT_EQ(CMStringArray::ClassInfo().GetCreator(), nullptr);
}

}  // namespace
