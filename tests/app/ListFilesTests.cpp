#include "app/export/FilePath.h"
#include "app/export/ListFiles.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

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
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFiles(tree_.Root(), sink, nullptr, error));
    EXPECT_EQ(Sorted(sink.Paths()), Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"c.doc")}));
    for (const FileRecord& file : sink.files) {
        std::int64_t expected = file.path == P(u"a.txt") ? 1234 : file.path == P(u"B.TXT") ? 5 : 0;
        EXPECT_EQ(file.size, expected) << Utf8(file.path);
        EXPECT_GT(file.creationTime, 0);
    }
}

TEST_F(ListFilesTest, TellsTheSinkOfTheFolders) {
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFiles(tree_.Root(), sink, nullptr, error));
    EXPECT_EQ(Sorted(sink.folders), Sorted({P(u"sub"), P(u"empty")}));

    CollectingSink all;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), all, nullptr, error));
    EXPECT_EQ(Sorted(all.folders), Sorted({P(u"sub"), P(u"sub/deeper"), P(u"empty")}));
}

TEST_F(ListFilesTest, FiltersBySuffixWithoutRegardToCase) {
    CMStringArray filter;
    filter.Append(u".txt");
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, &filter, error));
    EXPECT_EQ(Sorted(sink.Paths()), Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"sub/d.txt")}));

    CMStringArray nothing;
    CollectingSink none;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), none, &nothing, error));
    EXPECT_TRUE(none.files.empty());
}

TEST_F(ListFilesTest, WalksTheTreeDepthFirstInPreOrder) {
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error));
    std::vector<std::u16string> paths = sink.Paths();
    EXPECT_EQ(Sorted(paths),
              Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"c.doc"), P(u"sub/d.txt"), P(u"sub/deeper/e.md")}));
    // Whatever the file system's order, the files below "sub" come as one block.
    auto first = std::find(paths.begin(), paths.end(), P(u"sub/d.txt"));
    auto deeper = std::find(paths.begin(), paths.end(), P(u"sub/deeper/e.md"));
    ASSERT_NE(first, paths.end());
    ASSERT_NE(deeper, paths.end());
    EXPECT_EQ(std::abs(first - deeper), 1);
}

// Stops the listing once it has been asked `limit` times.
class StoppingSink : public CollectingSink {
public:
    explicit StoppingSink(int limit) : limit_(limit) {}
    bool ShouldStop() const override { return ++asked_ > limit_; }

private:
    int limit_;
    mutable int asked_ = 0;
};

TEST_F(ListFilesTest, StopsBeforeTheNextEntryWhenTheSinkSaysSo) {
    for (int limit : {0, 1, 2}) {
        StoppingSink flat(limit);
        StoppingSink tree(limit);
        FileSystemError error;
        EXPECT_TRUE(ListFiles(tree_.Root(), flat, nullptr, error));
        EXPECT_TRUE(ListFilesRecursive(tree_.Root(), tree, nullptr, error));
        // One entry at most for each time the sink was asked.
        EXPECT_LE(flat.files.size() + flat.folders.size(), static_cast<std::size_t>(limit));
        EXPECT_LE(tree.files.size() + tree.folders.size(), static_cast<std::size_t>(limit));
    }
}

TEST_F(ListFilesTest, NeverListsATemporaryWorkbook) {
    const std::u16string temporary[] = {u"~文件清单_0123ABCD.tmp", u"~文件清单_deadbeef.tmp"};
    const std::u16string ordinary[] = {u"~文件清单_0123ABCG.tmp", u"~文件清单_0123ABC.tmp",
                                       u"~文件清单_0123ABCDE.tmp", u"~文件清单_0123ABCD.xlsx",
                                       u"文件清单_0123ABCD.tmp"};
    std::vector<std::u16string> expected = {P(u"a.txt"), P(u"B.TXT"), P(u"c.doc"), P(u"sub/d.txt"),
                                            P(u"sub/deeper/e.md")};
    for (const std::u16string& name : temporary) {
        EXPECT_TRUE(IsTemporaryWorkbookName(name)) << Utf8(name);
        tree_.MakeFile(u"sub/" + name);
    }
    for (const std::u16string& name : ordinary) {
        EXPECT_FALSE(IsTemporaryWorkbookName(name)) << Utf8(name);
        tree_.MakeFile(u"sub/" + name);
        expected.push_back(P(u"sub/" + name));
    }
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error));
    EXPECT_EQ(Sorted(sink.Paths()), Sorted(expected));
}

TEST_F(ListFilesTest, ListsNothingForAMissingFolder) {
    CollectingSink sink;
    FileSystemError error;
    EXPECT_TRUE(ListFiles(P(u"missing"), sink, nullptr, error));
    EXPECT_TRUE(ListFilesRecursive(P(u"missing"), sink, nullptr, error));
    EXPECT_TRUE(sink.files.empty());
    EXPECT_TRUE(sink.folders.empty());
    EXPECT_EQ(error.code, 0);
}

TEST_F(ListFilesTest, ReportsAFileGivenAsFolderAsAnError) {
    CollectingSink sink;
    FileSystemError error;
    EXPECT_FALSE(ListFiles(P(u"a.txt"), sink, nullptr, error));
    EXPECT_EQ(error.operation, "directory_iterator::directory_iterator");
    EXPECT_EQ(error.path, P(u"a.txt"));
    EXPECT_FALSE(error.message.empty());
    EXPECT_NE(error.code, 0);
}

}  // namespace
