#include <gtest/gtest.h>

#include "RuntimePrinters.h"
#include "runtime/CWConstString.h"

namespace {

const char16_t kLiteral[] = u"literal";

TEST(CWConstString, ViewsTheLiteralWithoutCopying) {
    const CWConstString text(kLiteral);
    EXPECT_EQ(text.GetText(), kLiteral);
    EXPECT_EQ(text.GetLength(), 7);
    EXPECT_EQ(text.GetBuffer().GetData(), nullptr);
    EXPECT_TRUE(CWConstString().IsEmpty());
    EXPECT_TRUE(CWConstString(u"").IsEmpty());
}

TEST(CWConstString, AssignAcceptsOnlyConstStrings) {
    CWConstString target(kLiteral);
    EXPECT_FALSE(target.Assign(CWString(u"plain")));
    EXPECT_EQ(target.GetText(), kLiteral);
    EXPECT_TRUE(target.Assign(CWConstString(u"other")));
    EXPECT_EQ(TextOf(target), u"other");
}

TEST(CWConstString, EqualsOnlyConstStrings) {
    EXPECT_TRUE(CWConstString(kLiteral).IsEqual(CWConstString(u"literal")));
    EXPECT_FALSE(CWConstString(kLiteral).IsEqual(CWString(u"literal")));
}

TEST(CWConstString, ResetLeavesItEmptyWithoutTheLiteral) {
    CWConstString text(kLiteral);
    text.Reset();
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.GetConstText(), nullptr);
}

TEST(CWConstString, AChangeMakesItOwnedAndLeavesTheLiteral) {
    CWConstString text(kLiteral);
    text.AppendChar(u'!');
    EXPECT_EQ(TextOf(text), u"literal!");
    EXPECT_EQ(text.GetConstText(), nullptr);
    EXPECT_EQ(std::u16string(kLiteral), u"literal");
}

TEST(CWConstString, CloneIsAConstStringOnTheSameLiteral) {
    const CWConstString text(kLiteral);
    CVolObject* clone = text.Clone();
    EXPECT_STREQ(clone->GetClassInfo().GetName(), "CWConstString");
    EXPECT_EQ(static_cast<CWConstString*>(clone)->GetText(), kLiteral);
    clone->Destroy();
}

}  // namespace
