#include <gtest/gtest.h>

#include <string>

#include "RuntimePrinters.h"
#include "runtime/CU8String.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolObject.h"
#include "runtime/CVolObjectArray.h"
#include "runtime/CWConstString.h"
#include "runtime/CWString.h"

// A class declared the way every library class declares its record; it counts the reset hook.
class CResetProbe : public CVolObject {
public:
    static const CVolClassInfo& ClassInfo() {
        static const CVolClassInfo info("Tests::CResetProbe", &CVolObject::ClassInfo(),
                                        &CreateVolObject<CResetProbe>);
        return info;
    }
    const CVolClassInfo& GetClassInfo() const override { return ClassInfo(); }
    void PrepareReset() override { ++resetHookCalls_; }

    int ResetHookCalls() const { return resetHookCalls_; }

private:
    int resetHookCalls_ = 0;
};

namespace {

TEST(CVolObject, IsKindOfAcceptsTheClassAndItsBasesOnly) {
    const CWString text;
    EXPECT_TRUE(text.IsKindOf(CWString::ClassInfo()));
    EXPECT_TRUE(text.IsKindOf(CVolObject::ClassInfo()));
    EXPECT_FALSE(text.IsKindOf(CVolMem::ClassInfo()));
    EXPECT_FALSE(text.IsKindOf(CWConstString::ClassInfo()));
    const CResetProbe probe;
    EXPECT_TRUE(probe.IsKindOf(CVolObject::ClassInfo()));
    EXPECT_TRUE(probe.IsKindOf(CVolClassInfo("Tests::CResetProbe", nullptr)));
}

TEST(CVolObject, AssignAcrossUnrelatedClassesFailsAndChangesNothing) {
    CWString text(u"keep");
    text.SetTag(5);
    CVolMem buffer;
    buffer.SetTag(9);
    EXPECT_FALSE(text.Assign(buffer));
    EXPECT_EQ(TextOf(text), u"keep");
    EXPECT_EQ(text.GetTag(), 5u);
    EXPECT_FALSE(buffer.Assign(text));
    EXPECT_EQ(buffer.GetTag(), 9u);
}

TEST(CVolObject, EqualityComparesClassNullFlagAndTag) {
    struct Case {
        std::uint64_t leftFlags;
        std::uintptr_t leftTag;
        std::uint64_t rightFlags;
        std::uintptr_t rightTag;
        bool equal;
    };
    const Case cases[] = {
        {0, 0, 0, 0, true},  {1, 0, 1, 0, true},
        {1, 0, 0, 0, false}, {2, 0, 0, 0, true},  // only bit 0 counts
        {0, 7, 0, 7, true},  {0, 7, 0, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.leftFlags << "/" << c.leftTag << " vs " << c.rightFlags << "/" << c.rightTag);
        CVolObject left;
        CVolObject right;
        left.SetFlags(c.leftFlags);
        left.SetTag(c.leftTag);
        right.SetFlags(c.rightFlags);
        right.SetTag(c.rightTag);
        EXPECT_EQ(left.IsEqual(right), c.equal);
    }
    EXPECT_FALSE(CVolObject().IsEqual(CResetProbe())) << "the class records differ";
}

TEST(CVolObject, AssignAndResetRunTheResetHookFirst) {
    CResetProbe probe;
    CResetProbe source;
    source.SetFlags(1);
    source.SetTag(42);
    EXPECT_TRUE(probe.Assign(source));
    EXPECT_EQ(probe.ResetHookCalls(), 1);
    EXPECT_EQ(probe.GetFlags(), 1u);
    EXPECT_EQ(probe.GetTag(), 42u);
    probe.Reset();
    EXPECT_EQ(probe.ResetHookCalls(), 2);
    EXPECT_EQ(probe.GetFlags(), 0u);
    EXPECT_EQ(probe.GetTag(), 0u);
    EXPECT_FALSE(probe.Assign(CVolObject()));
    EXPECT_EQ(probe.ResetHookCalls(), 2) << "a refused Assign leaves the object alone";
}

TEST(CVolObject, CloneAndCreateNewMakeObjectsOfTheSameClass) {
    CWString text(u"t");
    CWConstString literal(u"lit");
    CVolMem buffer;
    buffer.Append("xy", 2);
    CU8String narrow(u"n");
    CVolObjectArray array;
    array.Add(new CWString(u"e"));
    CResetProbe probe;
    probe.SetTag(3);
    const CVolObject* originals[] = {&text, &literal, &buffer, &narrow, &array, &probe};
    for (const CVolObject* original : originals) {
        SCOPED_TRACE(original->GetClassInfo().GetName());
        CVolObject* fresh = original->CreateNew();
        EXPECT_TRUE(fresh->GetClassInfo().Matches(original->GetClassInfo()));
        EXPECT_TRUE(CPoolMem::Instance().Contains(fresh));
        fresh->Destroy();
        CVolObject* copy = original->Clone();
        EXPECT_NE(copy, original);
        EXPECT_TRUE(copy->IsEqual(*original));
        copy->Destroy();
    }
}

TEST(CVolObject, DestroyReturnsTheObjectToThePool) {
    auto* object = new CVolObject;
    ASSERT_TRUE(CPoolMem::Instance().Contains(object));
    object->Destroy();
    auto* next = new CVolObject;
    EXPECT_EQ(next, object) << "the freed block is reused first";
    DestroyObject(next);
    DestroyObject(nullptr);
}

TEST(CVolObject, DumpTextNamesTheClassAndAddress) {
    CVolObject object;
    CWString address;
    address.Format(u"%I64X", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&object)));
    const std::u16string expected =
        u"无法解析的对象数据,其输出类名为: \"CVolObject\", 地址为: 0x" + TextOf(address);
    CWString out;
    object.GetDumpText(out, 0);
    EXPECT_EQ(TextOf(out), expected);
    object.SetNullObject(true);
    out.Empty();
    object.GetDumpText(out, 0);
    EXPECT_EQ(TextOf(out), expected + u", 为空对象");
}

}  // namespace
