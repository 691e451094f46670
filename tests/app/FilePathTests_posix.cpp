#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/PathChecks.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

namespace {

TEST(FilePathPosix, JoinsWithOneSlash) {
    EXPECT_EQ(JoinPath(u"/tmp/a", u"b.txt"), u"/tmp/a/b.txt");
    EXPECT_EQ(JoinPath(u"/tmp/a/", u"b.txt"), u"/tmp/a/b.txt");
    EXPECT_EQ(JoinPath(u"/", u"b.txt"), u"/b.txt");
    // A backslash is an ordinary character of a POSIX name.
    EXPECT_EQ(JoinPath(u"a\\", u"b"), u"a\\/b");
    EXPECT_EQ(LastSeparator(u"a\\b/c\\d"), 3u);
}

TEST(FilePathPosix, RefusesOnlyTheRootForARecursiveWalk) {
    for (std::u16string root : {u"/", u"//", u"///"}) {
        EXPECT_TRUE(IsRootForRecursiveWalk(root)) << Utf8(root);
    }
    for (std::u16string folder : {u".", u"src", u"/a", u"a/", u""}) {
        EXPECT_FALSE(IsRootForRecursiveWalk(folder)) << Utf8(folder);
    }
}

TEST(PathChecksPosix, AcceptOneTrailingSlashForExistenceOnly) {
    TempTree tree;
    tree.MakeFile(u"file.txt");
    tree.MakeFolder(u"dir");
    EXPECT_TRUE(PathExists(tree.Path(u"dir") + u"/"));
    EXPECT_TRUE(IsFolder(tree.Path(u"dir") + u"/"));
    EXPECT_TRUE(PathExists(tree.Path(u"file.txt") + u"/"));
    EXPECT_FALSE(IsFolder(tree.Path(u"file.txt")));
    EXPECT_TRUE(PathExists(u"/"));
    EXPECT_TRUE(IsFolder(u"/"));
}

TEST(PathChecksPosix, RejectEmptyMissingAndNulBearingTexts) {
    TempTree tree;
    tree.MakeFolder(u"dir");
    std::u16string withNul = tree.Path(u"dir") + std::u16string(1, u'\0') + u"x";
    for (const std::u16string& path : {std::u16string(), tree.Path(u"missing"), withNul}) {
        EXPECT_FALSE(PathExists(path)) << Utf8(path);
        EXPECT_FALSE(IsFolder(path)) << Utf8(path);
    }
}

}  // namespace
