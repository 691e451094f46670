#include "app/export/DirectoryReader.h"
#include "app/export/ListFiles.h"
#include "app/export/NameCoding.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <map>

namespace {

std::string Raw(std::u16string_view path) {
    return EncodeUtf8(path);
}

std::map<std::u16string, DirectoryEntry> ReadAll(const std::u16string& folder) {
    std::map<std::u16string, DirectoryEntry> entries;
    DirectoryReader reader;
    EXPECT_TRUE(reader.Open(folder));
    DirectoryEntry entry;
    while (reader.Next(entry)) {
        EXPECT_TRUE(entries.emplace(entry.name, entry).second) << "listed twice: " << Utf8(entry.name);
    }
    EXPECT_EQ(reader.Error().code, 0) << Utf8(reader.Error().message);
    return entries;
}

class DirectoryReaderPosix : public testing::Test {
protected:
    void Link(const char* target, std::u16string_view name) {
        ASSERT_EQ(symlink(target, Raw(tree_.Path(name)).c_str()), 0);
    }

    TempTree tree_;
};

TEST_F(DirectoryReaderPosix, FollowsLinksForTheKindButMarksThem) {
    tree_.MakeFile(u"file.txt", 3000);
    tree_.MakeFile(u"dir/inner.txt");
    Link("file.txt", u"to-file");
    Link("dir", u"to-dir");
    Link("missing", u"dangling");
    ASSERT_EQ(mkfifo(Raw(tree_.Path(u"fifo")).c_str(), 0600), 0);

    auto entries = ReadAll(tree_.Root());
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[u"file.txt"].kind, EntryKind::Regular);
    EXPECT_FALSE(entries[u"file.txt"].isLink);
    EXPECT_EQ(entries[u"file.txt"].size, 3000);
    EXPECT_EQ(entries[u"dir"].kind, EntryKind::Directory);
    EXPECT_EQ(entries[u"to-file"].kind, EntryKind::Regular);
    EXPECT_TRUE(entries[u"to-file"].isLink);
    EXPECT_EQ(entries[u"to-file"].size, 3000);
    EXPECT_EQ(entries[u"to-dir"].kind, EntryKind::Directory);
    EXPECT_TRUE(entries[u"to-dir"].isLink);
    EXPECT_EQ(entries[u"dangling"].kind, EntryKind::Other);
    EXPECT_EQ(entries[u"fifo"].kind, EntryKind::Other);
}

TEST_F(DirectoryReaderPosix, GivesNamesThatAreNotUtf8WithReplacementCharacters) {
    ASSERT_EQ(mkdir((Raw(tree_.Root()) + "/dir\xFE").c_str(), 0755), 0);
    tree_.MakeFile(u"ok.txt");
    std::string badFile = Raw(tree_.Root()) + "/dir\xFE/bad\xFF.txt";
    FILE* file = fopen(badFile.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fclose(file);

    // The walk descends through the stored name, not through its replaced text.
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error)) << Utf8(error.message);
    ASSERT_EQ(sink.files.size(), 2u);
    std::u16string listed[] = {sink.files[0].path, sink.files[1].path};
    std::u16string expected = tree_.Path(u"dir\uFFFD/bad\uFFFD.txt");
    EXPECT_TRUE(listed[0] == expected || listed[1] == expected)
        << Utf8(listed[0]) << " / " << Utf8(listed[1]);
}

TEST_F(DirectoryReaderPosix, ReportsAStatusThatCannotBeReadWithPathAndText) {
    tree_.MakeFile(u"a.txt");
    Link("loop", u"loop");
    DirectoryReader reader;
    ASSERT_TRUE(reader.Open(tree_.Root()));
    DirectoryEntry entry;
    while (reader.Next(entry)) {
    }
    EXPECT_EQ(reader.Error().code, ELOOP);
    EXPECT_EQ(reader.Error().operation, "directory_entry::status");
    EXPECT_EQ(reader.Error().path, tree_.Path(u"loop"));
    EXPECT_FALSE(reader.Error().message.empty());
}

TEST_F(DirectoryReaderPosix, ReportsAFolderThatCannotBeOpened) {
    DirectoryReader reader;
    EXPECT_FALSE(reader.Open(tree_.Path(u"missing")));
    EXPECT_EQ(reader.Error().code, ENOENT);
    EXPECT_EQ(reader.Error().path, tree_.Path(u"missing"));
    DirectoryEntry entry;
    EXPECT_FALSE(reader.Next(entry));
}

TEST_F(DirectoryReaderPosix, DoesNotDescendIntoLinkedFolders) {
    tree_.MakeFile(u"real/inside.txt");
    Link("real", u"link");
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error));
    ASSERT_EQ(sink.files.size(), 1u);
    EXPECT_EQ(sink.files[0].path, tree_.Path(u"real/inside.txt"));
    // The link is a folder all the same.
    EXPECT_EQ(sink.folders.size(), 2u);
}

}  // namespace
