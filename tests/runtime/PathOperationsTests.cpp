#include <gtest/gtest.h>

#include "RuntimePrinters.h"
#include "runtime/PathOperations.h"

namespace {

struct JoinCase {
    const char16_t* base;
    const char16_t* relative;
    const char16_t* joined;
};

TEST(PathOperations, JoinInWindowsStyle) {
    const JoinCase cases[] = {
        {u"C:\\a", u"b\\..\\c.txt", u"C:\\a\\c.txt"},
        {u"C:\\a\\", u".\\b", u"C:\\a\\b"},
        {u"C:\\a", u"D:\\x", u"D:\\x"},
        {u"C:\\a", u"\\x", u"\\x"},
        {u"C:\\a", u"", u"C:\\a"},
        {u"C:\\a", nullptr, u"C:\\a"},
        {u"", u"b\\c", u"b\\c"},
        {nullptr, u"b", u"b"},
        {u"C:\\a\\b", u"..\\c", u"C:\\a\\c"},
        {u"C:\\a\\b", u".\\.\\c", u"C:\\a\\b\\c"},
        {u"C:\\a\\b\\c", u"..\\..\\d", u"C:\\a\\d"},
        {u"x", u"..\\y", u"..\\y"},             // nothing before the dot-dot to remove
        {u"C:\\a", u"b\\..", u"C:\\a\\b\\.."},  // a dot-dot without a separator after it stays
        {u"C:\\a", u"b:x", u"C:\\a\\b:x"},
    };
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(testing::Message() << TextOf(CWString(c.base)).size() << ":" << CWString(c.relative));
        EXPECT_EQ(TextOf(PathJoin(c.base, c.relative, kWindowsPathStyle)), c.joined);
    }
}

TEST(PathOperations, JoinInPosixStyle) {
    const JoinCase cases[] = {
        {u"/a", u"b/../c.txt", u"/a/c.txt"}, {u"/a/", u"./b", u"/a/b"},    {u"/a", u"/x", u"/x"},
        {u"/a", u"D:/x", u"/a/D:/x"},                                       // no drive letters here
        {u"/a/b", u"../../c", u"/c"},        {u"/a", u"b\\c", u"/a/b\\c"},  // a backslash is an ordinary
                                                                            // character
    };
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(CWString(c.relative));
        EXPECT_EQ(TextOf(PathJoin(c.base, c.relative, kPosixPathStyle)), c.joined);
    }
}

TEST(PathOperations, TrailingSeparatorIsDroppedExceptAfterADrive) {
    struct Case {
        const PathStyle* style;
        const char16_t* path;
        const char16_t* tested;
    };
    const Case cases[] = {
        {&kWindowsPathStyle, u"C:\\", u"C:\\"},       {&kWindowsPathStyle, u"D:\\dir\\", u"D:\\dir"},
        {&kWindowsPathStyle, u"D:\\dir", u"D:\\dir"}, {&kWindowsPathStyle, u"\\", u"\\"},
        {&kWindowsPathStyle, u"a\\\\", u"a\\"},       {&kPosixPathStyle, u"/", u"/"},
        {&kPosixPathStyle, u"/tmp/", u"/tmp"},        {&kPosixPathStyle, u"a:/", u"a:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CWString(c.path));
        EXPECT_EQ(TextOf(PathWithoutTrailingSeparator(c.path, *c.style)), c.tested);
    }
}

TEST(PathOperations, NativeStyleIsThePlatforms) {
#ifdef _WIN32
    EXPECT_EQ(NativePathStyle().separator, u'\\');
    EXPECT_TRUE(NativePathStyle().driveRoots);
#else
    EXPECT_EQ(NativePathStyle().separator, u'/');
    EXPECT_FALSE(NativePathStyle().driveRoots);
#endif
}

TEST(PathOperations, ProgramDirectoryExistsAndEndsWithASeparator) {
    CWString directory(u"stale");
    ASSERT_TRUE(GetProgramDirectory(directory));
    ASSERT_FALSE(directory.IsEmpty());
    EXPECT_EQ(directory.GetText()[directory.GetLength() - 1], NativePathStyle().separator);
    EXPECT_TRUE(PathExists(directory.GetText())) << directory;
    EXPECT_TRUE(PathExists(directory.Left(directory.GetLength() - 1).GetText()));
}

TEST(PathOperations, PathExistsIsFalseForNothingAndForMissingPaths) {
    EXPECT_FALSE(PathExists(nullptr));
    EXPECT_FALSE(PathExists(u""));
    CWString directory;
    ASSERT_TRUE(GetProgramDirectory(directory));
    EXPECT_FALSE(PathExists(PathJoin(directory.GetText(), u"no-such-entry-文件").GetText()));
}

}  // namespace
