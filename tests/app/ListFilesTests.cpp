#include "app/export/FilePath.h"
#include "app/export/ListFiles.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<std::u16string> Texts(const CMStringArray& array) {
    std::vector<std::u16string> texts;
    for (std::int64_t i = 0; i < array.GetCount(); ++i) {
        texts.emplace_back(array.GetAt(i));
    }
    return texts;
}

std::vector<std::u16string> Sorted(std::vector<std::u16string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

class ListFilesTest : public testing::Test {
protected:
    void SetUp() override {
        tree_.MakeFile(u"a.txt", 1234);
        tree_.MakeFile(u"B.TXT", 5);
        tree_.MakeFile(u"c.doc");
        tree_.MakeFile(u"sub/d.txt", 7);
        tree_.MakeFile(u"sub/deeper/e.md");
        tree_.MakeFolder(u"empty");
    }

    std::u16string P(std::u16string_view relative) const { return tree_.Path(relative); }

    TempTree tree_;
};

TEST_F(ListFilesTest, ListsTheFilesDirectlyInTheFolderWithTheirSizes) {
    FileList files;
    FileSystemError error;
    ASSERT_TRUE(ListFiles(tree_.Root(), nullptr, &files, nullptr, error));
    EXPECT_EQ(Sorted(Texts(files.GetPaths())), Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"c.doc")}));
    for (std::int64_t i = 0; i < files.GetCount(); ++i) {
        std::u16string path = files.GetPath(i);
        std::int64_t expected = path == P(u"a.txt") ? 1234 : path == P(u"B.TXT") ? 5 : 0;
        EXPECT_EQ(files.GetSize(i), expected) << Utf8(path);
        EXPECT_GT(files.GetCreationTime(i), 0);
    }
}

TEST_F(ListFilesTest, PutsFoldersIntoTheSubFolderList) {
    CMStringArray folders;
    FileSystemError error;
    ASSERT_TRUE(ListFiles(tree_.Root(), &folders, nullptr, nullptr, error));
    EXPECT_EQ(Sorted(Texts(folders)), Sorted({P(u"sub"), P(u"empty")}));

    CMStringArray allFolders;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), &allFolders, nullptr, nullptr, error));
    EXPECT_EQ(Sorted(Texts(allFolders)), Sorted({P(u"sub"), P(u"sub/deeper"), P(u"empty")}));
}

TEST_F(ListFilesTest, FiltersBySuffixWithoutRegardToCase) {
    CMStringArray filter;
    filter.Append(u".txt");
    FileList files;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), nullptr, &files, &filter, error));
    EXPECT_EQ(Sorted(Texts(files.GetPaths())), Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"sub/d.txt")}));

    CMStringArray nothing;
    FileList none;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), nullptr, &none, &nothing, error));
    EXPECT_EQ(none.GetCount(), 0);
}

TEST_F(ListFilesTest, WalksTheTreeDepthFirstInPreOrder) {
    FileList files;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), nullptr, &files, nullptr, error));
    std::vector<std::u16string> paths = Texts(files.GetPaths());
    EXPECT_EQ(Sorted(paths),
              Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"c.doc"), P(u"sub/d.txt"), P(u"sub/deeper/e.md")}));
    // Whatever the file system's order, the files below "sub" come as one block.
    auto first = std::find(paths.begin(), paths.end(), P(u"sub/d.txt"));
    auto deeper = std::find(paths.begin(), paths.end(), P(u"sub/deeper/e.md"));
    ASSERT_NE(first, paths.end());
    ASSERT_NE(deeper, paths.end());
    EXPECT_EQ(std::abs(first - deeper), 1);
}

TEST_F(ListFilesTest, ListsNothingForAMissingFolder) {
    FileList files;
    CMStringArray folders;
    FileSystemError error;
    EXPECT_TRUE(ListFiles(P(u"missing"), &folders, &files, nullptr, error));
    EXPECT_TRUE(ListFilesRecursive(P(u"missing"), &folders, &files, nullptr, error));
    EXPECT_EQ(files.GetCount(), 0);
    EXPECT_EQ(folders.GetCount(), 0);
    EXPECT_EQ(error.code, 0);
}

TEST_F(ListFilesTest, ReportsAFileGivenAsFolderAsAnError) {
    FileList files;
    FileSystemError error;
    EXPECT_FALSE(ListFiles(P(u"a.txt"), nullptr, &files, nullptr, error));
    EXPECT_EQ(error.operation, "directory_iterator::directory_iterator");
    EXPECT_EQ(error.path, P(u"a.txt"));
    EXPECT_FALSE(error.message.empty());
    EXPECT_NE(error.code, 0);
}

}  // namespace
