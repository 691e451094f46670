#include <gtest/gtest.h>

#include <string>

#include "RuntimePrinters.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolObjectArray.h"
#include "runtime/CWString.h"

// Counts the instances alive, so the tests can see the array destroy what it owns.
class CLifeProbe : public CVolObject {
public:
    CLifeProbe() { ++alive_; }
    CLifeProbe(const CLifeProbe& other) : CVolObject(other) { ++alive_; }
    ~CLifeProbe() override { --alive_; }

    static const CVolClassInfo& ClassInfo() {
        static const CVolClassInfo info("Tests::CLifeProbe", &CVolObject::ClassInfo(),
                                        &CreateVolObject<CLifeProbe>);
        return info;
    }
    const CVolClassInfo& GetClassInfo() const override { return ClassInfo(); }

    static int Alive() { return alive_; }

private:
    static inline int alive_ = 0;
};

namespace {

CVolObjectArray ArrayOf(std::initializer_list<const char16_t*> texts) {
    CVolObjectArray array;
    for (const char16_t* text : texts) {
        array.Add(new CWString(text));
    }
    return array;
}

std::u16string DumpOf(const CVolObjectArray& array, int limit) {
    CWString out;
    array.GetDumpText(out, limit);
    return TextOf(out);
}

std::size_t CountOf(const std::u16string& text, const std::u16string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::u16string HexAddress(const void* object) {
    CWString hex;
    hex.Format(u"%I64X", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(object)));
    return TextOf(hex);
}

TEST(CVolObjectArray, AddsAndReadsElements) {
    CVolObjectArray array;
    EXPECT_EQ(array.Add(new CWString(u"a")), 0);
    EXPECT_EQ(array.Add(new CVolMem), 1);
    EXPECT_EQ(array.Add(nullptr), -1);
    EXPECT_EQ(array.GetCount(), 2);
    EXPECT_EQ(TextOf(*static_cast<CWString*>(array.GetAt(0))), u"a");
    EXPECT_EQ(array.GetAt(2), nullptr);
    EXPECT_EQ(array.GetAt(-1), nullptr);
}

TEST(CVolObjectArray, OwnsItsElements) {
    const int before = CLifeProbe::Alive();
    {
        CVolObjectArray array;
        array.Add(new CLifeProbe);
        array.Add(new CLifeProbe);
        EXPECT_EQ(CLifeProbe::Alive(), before + 2);
        array.RemoveAll();
        EXPECT_EQ(CLifeProbe::Alive(), before);
        EXPECT_EQ(array.GetCount(), 0);
        array.Add(new CLifeProbe);
        array.SetTag(4);
        array.Reset();
        EXPECT_EQ(CLifeProbe::Alive(), before);
        EXPECT_EQ(array.GetTag(), 0u);
        array.Add(new CLifeProbe);
    }
    EXPECT_EQ(CLifeProbe::Alive(), before) << "destroying the array destroys its elements";
}

TEST(CVolObjectArray, CopiesAreDeep) {
    const CVolObjectArray original = ArrayOf({u"a", u"b"});
    CVolObjectArray copy;
    copy.Add(new CWString(u"replaced"));
    EXPECT_TRUE(copy.Assign(original));
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_NE(copy.GetAt(0), original.GetAt(0));
    EXPECT_TRUE(copy.IsEqual(original));
    static_cast<CWString*>(copy.GetAt(0))->Append(u"!");
    EXPECT_FALSE(copy.IsEqual(original));
    const CVolObjectArray constructed(original);
    EXPECT_TRUE(constructed.IsEqual(original));
}

TEST(CVolObjectArray, AssigningToItselfKeepsTheElements) {
    CVolObjectArray array = ArrayOf({u"a", u"b"});
    CVolObject* first = array.GetAt(0);
    EXPECT_TRUE(array.Assign(array));
    ASSERT_EQ(array.GetCount(), 2);
    EXPECT_EQ(array.GetAt(0), first);
    EXPECT_EQ(TextOf(*static_cast<CWString*>(first)), u"a");
}

TEST(CVolObjectArray, AssigningFromItsOwnElementIsSafe) {
    CVolObjectArray outer;
    auto* inner = new CVolObjectArray(ArrayOf({u"x", u"y"}));
    outer.Add(inner);
    outer.Add(new CWString(u"z"));
    EXPECT_TRUE(outer.Assign(*inner));
    ASSERT_EQ(outer.GetCount(), 2);
    EXPECT_EQ(TextOf(*static_cast<CWString*>(outer.GetAt(1))), u"y");
}

TEST(CVolObjectArray, AssignFromAnotherClassIsRefused) {
    CVolObjectArray array = ArrayOf({u"a"});
    EXPECT_FALSE(array.Assign(CWString(u"x")));
    EXPECT_EQ(array.GetCount(), 1);
}

TEST(CVolObjectArray, EqualityIsElementwiseAndOrdered) {
    EXPECT_TRUE(ArrayOf({u"a", u"b"}).IsEqual(ArrayOf({u"a", u"b"})));
    EXPECT_FALSE(ArrayOf({u"a", u"b"}).IsEqual(ArrayOf({u"b", u"a"})));
    EXPECT_FALSE(ArrayOf({u"a", u"b"}).IsEqual(ArrayOf({u"a"})));
    EXPECT_TRUE(CVolObjectArray().IsEqual(CVolObjectArray()));
}

TEST(CVolObjectArray, EmptyArrayDumpsOnlyTheHeader) {
    EXPECT_EQ(DumpOf(CVolObjectArray(), 0), u"<数组> 总共 0 个成员:");
}

TEST(CVolObjectArray, MemberLinesNameClassAddressAndContent) {
    CVolObjectArray array = ArrayOf({u"first"});
    auto* nullMember = new CWString(u"second");
    nullMember->SetNullObject(true);
    array.Add(nullMember);
    const std::u16string expected = u"<数组> 总共 2 个成员:\r\n1. 对象输出类名: \"CWString\", 地址: 0x" +
                                    HexAddress(array.GetAt(0)) + u", 内容:\r\nfirst" +
                                    u"\r\n2. 对象输出类名: \"CWString\", 地址: 0x" + HexAddress(nullMember) +
                                    u", 为空对象, 内容:\r\nsecond";
    EXPECT_EQ(DumpOf(array, 0), expected);
}

TEST(CVolObjectArray, DumpLimitZeroShowsTheFirst64Members) {
    CVolObjectArray array;
    for (int i = 0; i < 70; ++i) {
        array.Add(new CWString(u"m"));
    }
    const std::u16string limited = DumpOf(array, 0);
    EXPECT_EQ(limited.rfind(u"<数组> 总共 70 个成员,输出了 64 个,还有 6 个未被输出.", 0), 0u);
    EXPECT_EQ(CountOf(limited, u". 对象输出类名"), 64u);
    EXPECT_EQ(CountOf(DumpOf(array, -1), u". 对象输出类名"), 70u);
}

TEST(CVolObjectArray, MembersDumpWithTheSameLimit) {
    CVolObjectArray array;
    auto* buffer = new CVolMem;
    buffer->SetSize(40);
    array.Add(buffer);
    EXPECT_NE(DumpOf(array, 16).find(u"<字节集> 总共 40 个字节,输出了 16 个"), std::u16string::npos);
}

}  // namespace
