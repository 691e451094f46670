#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RuntimePrinters.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWConstString.h"
#include "runtime/CWString.h"

namespace {

// A CWString (not a CWConstString) standing for a literal.
CWString LiteralView(const char16_t* literal) {
    return CWString(CWConstString(literal));
}

TEST(CWString, DefaultStringIsEmptyAndOwnsNothing) {
    const CWString text;
    EXPECT_EQ(TextOf(text), u"");
    EXPECT_EQ(text.GetLength(), 0);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.GetBuffer().GetSize(), 0);
    EXPECT_EQ(text.GetBuffer().GetGrowthStep(), CWString::kGrowthStep);
}

TEST(CWString, EmptinessRule) {
    CWString onlyNul;
    onlyNul.SetUnits(nullptr, 1);  // one zero unit and the NUL: four bytes
    struct Case {
        const char* name;
        CWString text;
        bool empty;
    };
    const Case cases[] = {
        {"default", CWString(), true},         {"empty literal", LiteralView(u""), true},
        {"literal", LiteralView(u"a"), false}, {"owned", CWString(u"a"), false},
        {"owned zero unit", onlyNul, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text.IsEmpty(), c.empty);
    }
}

// Assigning an empty string keeps the buffer's block at size 0; every way of emptying releases it.
TEST(CWString, EmptyingReleasesABufferKeptAtSizeZero) {
    struct Case {
        const char* name;
        void (*empty)(CWString&);
    };
    const Case cases[] = {
        {"SetText empty", [](CWString& text) { text.SetText(u""); }},
        {"SetText null", [](CWString& text) { text.SetText(nullptr); }},
        {"SetUnits 0", [](CWString& text) { text.SetUnits(u"x", 0); }},
        {"Empty", [](CWString& text) { text.Empty(); }},
        {"Reset", [](CWString& text) { text.Reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWString text(u"abc");
        const CWString emptySource;
        text = emptySource;
        ASSERT_TRUE(text.IsEmpty());
        ASSERT_GT(text.GetBuffer().GetCapacity(), 0);
        c.empty(text);
        EXPECT_EQ(text.GetBuffer().GetCapacity(), 0);
        EXPECT_EQ(text.GetBuffer().GetData(), nullptr);
        EXPECT_EQ(TextOf(text), u"");
    }
}

TEST(CWString, EqualityNeedsTheSameClassTagAndText) {
    EXPECT_TRUE(CWString(u"abc").IsEqual(CWString(u"abc")));
    EXPECT_TRUE(CWString(u"abc").IsEqual(LiteralView(u"abc")));
    EXPECT_FALSE(CWString(u"abc").IsEqual(CWString(u"abC")));
    EXPECT_FALSE(CWString(u"abc").IsEqual(CWString(u"ab")));
    EXPECT_FALSE(CWString(u"abc").IsEqual(CWConstString(u"abc"))) << "the class records differ";
    EXPECT_TRUE(CWString().IsEqual(LiteralView(u""))) << "an empty buffer equals an empty literal";
    CWString tagged(u"abc");
    tagged.SetTag(1);
    EXPECT_FALSE(tagged.IsEqual(CWString(u"abc")));
}

TEST(CWString, AppendingNothingChangesNothing) {
    for (const char16_t* nothing : {static_cast<const char16_t*>(nullptr), u""}) {
        CWString empty;
        empty.Append(nothing);
        EXPECT_EQ(empty.GetBuffer().GetSize(), 0);
        CWString owned(u"ab");
        owned.Append(nothing);
        EXPECT_EQ(owned.GetBuffer().GetSize(), 6);
        CWString literal = LiteralView(u"lit");
        literal.Append(nothing);
        EXPECT_NE(literal.GetConstText(), nullptr) << "still a view";
    }
}

TEST(CWString, AppendingOneCharacterToAnEmptyStringOwnsFourBytes) {
    CWString text;
    text.AppendChar(u'x');
    EXPECT_EQ(TextOf(text), u"x");
    EXPECT_EQ(text.GetBuffer().GetSize(), 4);
    EXPECT_EQ(text.GetBuffer().GetCapacity(), CWString::kGrowthStep);
    text.AppendChar(0);
    EXPECT_EQ(text.GetBuffer().GetSize(), 4);
}

TEST(CWString, AppendingToALiteralCopiesItFirst) {
    static const char16_t kLiteral[] = u"lit";
    CWString text = LiteralView(kLiteral);
    text.Append(u"eral");
    EXPECT_EQ(TextOf(text), u"literal");
    EXPECT_EQ(text.GetConstText(), nullptr);
    EXPECT_EQ(std::u16string(kLiteral), u"lit");
    EXPECT_EQ(text.GetBuffer().GetSize(), 16);
}

TEST(CWString, AppendingItsOwnTextSurvivesGrowth) {
    CWString text(u"0123456789");
    std::u16string expected = u"0123456789";
    for (int i = 0; i < 6; ++i) {  // grows well past the first 254-byte block
        text.Append(text.GetText());
        expected += expected;
    }
    EXPECT_EQ(TextOf(text), expected);
    text.Append(text.GetText() + text.GetLength() - 3);
    EXPECT_EQ(TextOf(text), expected + u"789");
}

TEST(CWString, SettersAcceptTheirOwnText) {
    CWString text(u"abcdef");
    text.SetText(text.GetText() + 2);
    EXPECT_EQ(TextOf(text), u"cdef");
    text.SetUnits(text.GetText() + 1, 2);
    EXPECT_EQ(TextOf(text), u"de");
    text.Format(u"%s-%s", text.GetText(), text.GetText());
    EXPECT_EQ(TextOf(text), u"de-de");
}

TEST(CWString, SetUnits) {
    struct Case {
        const char16_t* units;
        std::int64_t count;
        std::int64_t bufferSize;
        std::u16string text;
    };
    const Case cases[] = {
        {u"abcdef", 3, 8, u"abc"},
        {nullptr, 2, 6, u""},  // two zero units, owned
        {u"abc", 0, 0, u""},
        {u"abc", -4, 0, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        CWString text(u"previous");
        text.SetUnits(c.units, c.count);
        EXPECT_EQ(text.GetBuffer().GetSize(), c.bufferSize);
        EXPECT_EQ(TextOf(text), c.text);
    }
}

TEST(CWString, SetFromUtf8) {
    CWString text(u"previous");
    text.SetUtf8("\xE6\x96\x87\xE4\xBB\xB6");
    EXPECT_EQ(TextOf(text), u"文件");
    text.SetUtf8("");
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.GetBuffer().GetSize(), 0);
    text.SetUtf8(nullptr);
    EXPECT_EQ(text.GetBuffer().GetSize(), 0);
}

TEST(CWString, Concatenation) {
    struct Case {
        const char16_t* left;
        const char16_t* right;
        std::u16string result;
    };
    const Case cases[] = {{u"", u"abc", u"abc"}, {u"ab", u"c", u"abc"}, {u"ab", u"", u"ab"}, {u"", u"", u""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.result.begin(), c.result.end()));
        const CWString joined = CWString(c.left) + CWString(c.right);
        EXPECT_EQ(TextOf(joined), c.result);
        EXPECT_EQ(joined.GetLength(), static_cast<std::int64_t>(c.result.size()));
        const CWString withText = CWString(c.left) + c.right;
        EXPECT_EQ(TextOf(withText), c.result);
        if (!c.result.empty()) {
            EXPECT_EQ(joined.GetBuffer().GetSize(), static_cast<std::int64_t>(c.result.size() + 1) * 2)
                << "exactly one NUL";
        }
    }
    EXPECT_EQ(TextOf(CWString(u"x") + static_cast<const char16_t*>(nullptr)), u"x");
}

TEST(CWString, ConcatenatingWithAnEmptySideCopiesTheOther) {
    CWString right = LiteralView(u"lit");
    right.SetTag(9);
    const CWString joined = CWString() + right;
    EXPECT_EQ(joined.GetTag(), 9u);
    EXPECT_EQ(joined.GetConstText(), right.GetConstText());
}

TEST(CWString, FormatSizesTheBufferToTheText) {
    CWString text;
    text.Format(u"%d", 42);
    EXPECT_EQ(TextOf(text), u"42");
    EXPECT_EQ(text.GetBuffer().GetSize(), 6);
    text.Format(u"%s", u"");
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.GetBuffer().GetSize(), 0);
    text.Format(u"%.15G|%02X|%I64X", 1234567.0, 10, 0xABCDEF0123ULL);
    EXPECT_EQ(TextOf(text), u"1234567|0A|ABCDEF0123");
    text.Format(u"%n");
    EXPECT_TRUE(text.IsEmpty()) << "an invalid format leaves the string empty";
    text.Format(nullptr);
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CWString, AppendFormatAppends) {
    CWString text(u"n=");
    text.AppendFormat(u"%d, s=%s", -7, u"文");
    EXPECT_EQ(TextOf(text), u"n=-7, s=文");
}

TEST(CWString, LeftPart) {
    struct Case {
        std::int64_t count;
        std::u16string result;
    };
    const Case cases[] = {{2, u"he"}, {5, u"hello"}, {9, u"hello"}, {0, u""}, {-1, u""}};
    const CWString literal = LiteralView(u"hello");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const CWString left = literal.Left(c.count);
        EXPECT_EQ(TextOf(left), c.result);
        EXPECT_EQ(left.GetConstText(), nullptr) << "always owned";
        EXPECT_EQ(left.GetBuffer().GetSize(),
                  c.result.empty() ? 0 : static_cast<std::int64_t>(c.result.size() + 1) * 2);
    }
}

TEST(CWString, CopiesAreDeepAndShareOnlyLiterals) {
    CWString original(u"abc");
    original.SetTag(5);
    CWString copy(original);
    copy.Append(u"d");
    EXPECT_EQ(TextOf(original), u"abc");
    EXPECT_EQ(copy.GetTag(), 5u);
    const CWString literal = LiteralView(u"shared");
    CWString assigned;
    EXPECT_TRUE(assigned.Assign(literal));
    EXPECT_EQ(assigned.GetConstText(), literal.GetConstText());
}

TEST(CWString, DumpTextReplacesTheOutput) {
    CWString out(u"old");
    CWString(u"new").GetDumpText(out, 0);
    EXPECT_EQ(TextOf(out), u"new");
    out.GetDumpText(out, 0);
    EXPECT_EQ(TextOf(out), u"new");
}

TEST(CWString, StreamFormHoldsTheUnitsWithTheirNul) {
    const std::vector<unsigned char> expected{6, 0, 0, 0, 'a', 0, 'b', 0, 0, 0};
    for (const CWString& text : {CWString(u"ab"), LiteralView(u"ab")}) {
        std::vector<unsigned char> bytes;
        CVolOutStream output(bytes);
        text.SaveToStream(output);
        EXPECT_EQ(bytes, expected);
        CVolInStream input(bytes.data(), bytes.size());
        CWString loaded(u"previous text");
        loaded.LoadFromStream(input);
        EXPECT_EQ(TextOf(loaded), u"ab");
    }
}

TEST(CWString, LoadingABadStreamLeavesTheStringEmpty) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"negative count", {0xFE, 0xFF, 0xFF, 0xFF}},
        {"short", {6, 0, 0, 0, 'a', 0}},
        {"odd count", {3, 0, 0, 0, 'a', 0, 0}},
        {"no NUL", {4, 0, 0, 0, 'a', 0, 'b', 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVolInStream input(c.bytes.data(), c.bytes.size());
        CWString loaded(u"previous");
        loaded.LoadFromStream(input);
        EXPECT_TRUE(loaded.IsEmpty());
        EXPECT_EQ(input.GetStatus(), CVolStream::kShortRead);
    }
}

}  // namespace
