#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "RuntimePrinters.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CVolTextArrayValue.h"

namespace {

using vol::CVolTextArrayValue;

CVolTextArrayValue Texts(std::initializer_list<const char16_t*> texts) {
    CVolTextArrayValue value;
    for (const char16_t* text : texts) {
        value.GetTexts().Append(text);
    }
    return value;
}

TEST(CVolTextArrayValue, EqualityIsCountAndTextsInOrder) {
    struct Row {
        const char* what;
        CVolTextArrayValue left;
        CVolTextArrayValue right;
        bool equal;
    };
    const Row rows[] = {
        {"both empty", Texts({}), Texts({}), true},
        {"same texts", Texts({u"a", u"中文"}), Texts({u"a", u"中文"}), true},
        {"missing text equals empty", Texts({nullptr, u"x"}), Texts({u"", u"x"}), true},
        {"order matters", Texts({u"a", u"b"}), Texts({u"b", u"a"}), false},
        {"count matters", Texts({u"a"}), Texts({u"a", u""}), false},
        {"case matters", Texts({u"a"}), Texts({u"A"}), false},
        {"prefix is not equal", Texts({u"ab"}), Texts({u"a"}), false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.left.IsEqual(row.right), row.equal) << row.what;
        EXPECT_EQ(row.right.IsEqual(row.left), row.equal) << row.what << " (reversed)";
    }
}

TEST(CVolTextArrayValue, EqualityRefusesOtherClassesAndTags) {
    const CVolTextArrayValue value = Texts({u"a"});
    CVolTextArrayValue tagged = Texts({u"a"});
    tagged.SetTag(2);
    EXPECT_FALSE(value.IsEqual(tagged));
    // Another class is never read as a text array.
    EXPECT_FALSE(value.IsEqual(CWString(u"a")));
}

TEST(CVolTextArrayValue, AssignCopiesDeeply) {
    CVolTextArrayValue source = Texts({u"one", u"two"});
    CVolTextArrayValue target = Texts({u"old"});
    ASSERT_TRUE(target.Assign(source));
    source.GetTexts().Clear();
    ASSERT_EQ(target.GetTexts().GetCount(), 2);
    EXPECT_EQ(std::u16string(target.GetTexts().GetAt(1)), u"two");

    EXPECT_TRUE(target.Assign(target));
    EXPECT_EQ(target.GetTexts().GetCount(), 2) << "self-assignment keeps the texts";

    EXPECT_FALSE(target.Assign(CWString(u"x")));
    target.Reset();
    EXPECT_EQ(target.GetTexts().GetCount(), 0);
}

TEST(CVolTextArrayValue, DumpIsTheArrayDump) {
    const CVolTextArrayValue value = Texts({u"a\tb", nullptr});
    CWString fromValue;
    value.GetDumpText(fromValue, 0);
    CWString fromArray;
    value.GetTexts().GetDumpText(fromArray, 0);
    EXPECT_EQ(TextOf(fromValue), TextOf(fromArray));
    EXPECT_EQ(TextOf(fromValue), u"<数组> 总共 2 个成员:\r\n1. \"a\\tb\"\r\n2. ");
}

TEST(CVolTextArrayValue, StreamRoundTripAndFailedLoad) {
    const CVolTextArrayValue original = Texts({u"first", nullptr, u"第三"});
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    original.SaveToStream(output);
    ASSERT_EQ(output.GetStatus(), 0);

    CVolInStream input(bytes.data(), bytes.size());
    CVolTextArrayValue loaded = Texts({u"replaced"});
    loaded.LoadFromStream(input);
    EXPECT_EQ(input.GetStatus(), 0);
    EXPECT_EQ(input.GetRemaining(), 0u);
    EXPECT_TRUE(loaded.IsEqual(original));

    // Cut inside the last text: the load fails and the value keeps what it held.
    CVolInStream cut(bytes.data(), bytes.size() - 1);
    CVolTextArrayValue kept = Texts({u"kept"});
    kept.LoadFromStream(cut);
    EXPECT_EQ(cut.GetStatus(), CVolStream::kShortRead);
    EXPECT_TRUE(kept.IsEqual(Texts({u"kept"})));
}

}  // namespace
