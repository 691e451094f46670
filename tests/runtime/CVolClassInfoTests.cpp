#include <gtest/gtest.h>

#include <cstring>

#include "runtime/CVolClassInfo.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolObject.h"
#include "runtime/CWConstString.h"
#include "runtime/CWString.h"

namespace {

TEST(CVolClassInfo, HashesNamesWithSignedBytes) {
    struct Case {
        const char* name;
        std::uint32_t hash;
    };
    const Case cases[] = {
        {"abc", 3015},  // (97 * 5 + 98) * 5 + 99 = 3014, made odd
        {"", 1},        // always odd
        {"a", 97},
        {"\xE4", 0x7FFFFFE5},  // -28 wraps to 0xFFFFFFE4; the top bit is cleared
        {"CWString", CVolClassInfo::HashName("CWString", 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CVolClassInfo::HashName(c.name, std::strlen(c.name)), c.hash);
        const CVolClassInfo record(c.name, nullptr);
        EXPECT_EQ(record.GetHash(), c.hash);
        EXPECT_EQ(record.GetNameLength(), static_cast<std::int64_t>(std::strlen(c.name)));
    }
}

TEST(CVolClassInfo, RecordsBuiltSeparatelyForOneNameMatch) {
    const CVolClassInfo separate("CWString", nullptr);
    EXPECT_TRUE(separate.Matches(CWString::ClassInfo()));
    EXPECT_TRUE(CWString::ClassInfo().Matches(separate));
    EXPECT_FALSE(separate.Matches(CVolMem::ClassInfo()));
}

TEST(CVolClassInfo, EqualHashesAloneDoNotMatch) {
    // 12 * 5 + 5 = 11 * 5 + 10 = 65 = 'A': three names of one hash.
    const CVolClassInfo shortName("A", nullptr);
    const CVolClassInfo longer("\x0C\x05", nullptr);
    const CVolClassInfo sameLength("\x0B\x0A", nullptr);
    ASSERT_EQ(shortName.GetHash(), longer.GetHash());
    ASSERT_EQ(longer.GetHash(), sameLength.GetHash());
    EXPECT_FALSE(shortName.Matches(longer)) << "different lengths";
    EXPECT_FALSE(longer.Matches(sameLength)) << "same length, different names";
}

TEST(CVolClassInfo, IsKindOfWalksUpTheBaseRecords) {
    const CVolClassInfo& record = CWConstString::ClassInfo();
    EXPECT_TRUE(record.IsKindOf(CWConstString::ClassInfo()));
    EXPECT_TRUE(record.IsKindOf(CWString::ClassInfo()));
    EXPECT_TRUE(record.IsKindOf(CVolObject::ClassInfo()));
    EXPECT_FALSE(record.IsKindOf(CVolMem::ClassInfo()));
    EXPECT_FALSE(CWString::ClassInfo().IsKindOf(CWConstString::ClassInfo())) << "never downward";
}

}  // namespace
