#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/PathChecks.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

namespace {

TEST(FilePathWin, JoinsWithOneBackslashExceptAfterABareDrive) {
    EXPECT_EQ(JoinPath(u"C:\\a", u"b.txt"), u"C:\\a\\b.txt");
    EXPECT_EQ(JoinPath(u"C:\\a\\", u"b.txt"), u"C:\\a\\b.txt");
    EXPECT_EQ(JoinPath(u"C:\\a/", u"b.txt"), u"C:\\a/b.txt");
    EXPECT_EQ(JoinPath(u"C:\\", u"b.txt"), u"C:\\b.txt");
    EXPECT_EQ(JoinPath(u"C:", u"b.txt"), u"C:b.txt");
    EXPECT_EQ(LastSeparator(u"C:\\a/b\\c"), 6u);
    EXPECT_EQ(LastSeparator(u"C:\\a\\b/c"), 6u);
}

TEST(FilePathWin, RefusesTextsShorterThanFourCharactersForARecursiveWalk) {
    for (std::u16string root : {u"C:\\", u"C:", u"C", u"\\\\a"}) {
        EXPECT_TRUE(IsRootForRecursiveWalk(root)) << Utf8(root);
    }
    EXPECT_FALSE(IsRootForRecursiveWalk(u"C:\\a"));
}

TEST(PathChecksWin, DropOneTrailingBackslashButNotADrivesOwn) {
    TempTree tree;
    tree.MakeFolder(u"dir");
    EXPECT_TRUE(PathExists(tree.Path(u"dir") + u"\\"));
    EXPECT_TRUE(IsFolder(tree.Path(u"dir") + u"\\"));
    EXPECT_TRUE(PathExists(u"C:\\"));
    EXPECT_TRUE(IsFolder(u"C:\\"));
    EXPECT_FALSE(PathExists(u""));
    EXPECT_FALSE(PathExists(tree.Path(u"missing")));
}

}  // namespace
