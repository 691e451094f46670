#include "app/export/filesystem/NameCoding.h"
#include "app/export/listing/DirectoryReader.h"
#include "app/export/listing/ListFiles.h"
#include "app/export/listing/UnreadableFolders.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <map>
#include <vector>

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

TEST_F(DirectoryReaderPosix, TakesALinkThatLoopsForNeitherFileNorFolder) {
    tree_.MakeFile(u"a.txt");
    Link("loop", u"loop");
    auto entries = ReadAll(tree_.Root());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[u"loop"].kind, EntryKind::Other);
    EXPECT_TRUE(entries[u"loop"].isLink);
}

// The walk's two steps for a sub-folder, its entry and then opening it, with the folder changed in
// between as another program could: the walk skips it without a word.
TEST_F(DirectoryReaderPosix, SkipsASubFolderThatVanishesBetweenListingAndOpening) {
    const struct {
        const char* what;
        void (*change)(const std::string& path);
        int code;
    } cases[] = {
        {"removed", [](const std::string& path) { ASSERT_EQ(rmdir(path.c_str()), 0); }, ENOENT},
        {"replaced by a file",
         [](const std::string& path) {
             ASSERT_EQ(rmdir(path.c_str()), 0);
             ASSERT_EQ(mknod(path.c_str(), S_IFREG | 0644, 0), 0);
         },
         ENOTDIR},
        {"replaced by a link to itself",
         [](const std::string& path) {
             ASSERT_EQ(rmdir(path.c_str()), 0);
             ASSERT_EQ(symlink("sub", path.c_str()), 0);
         },
         ENOTDIR},  // the walk opens without following: a link is not a folder
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        TempTree tree;
        tree.MakeFolder(u"sub");
        DirectoryReader parent;
        ASSERT_TRUE(parent.Open(tree.Root()));
        DirectoryEntry entry;
        ASSERT_TRUE(parent.Next(entry));
        ASSERT_EQ(entry.kind, EntryKind::Directory);
        row.change(Raw(tree.Path(u"sub")));

        DirectoryReader child;
        EXPECT_FALSE(child.OpenRaw(parent.LastEntryRawPath(), tree.Path(u"sub")));
        EXPECT_EQ(child.Error().code, row.code);
        std::vector<FileSystemError> skipped;
        EXPECT_TRUE(SkipFailedSubfolder(tree.Path(u"sub"), child.Error(), &skipped));
        EXPECT_TRUE(skipped.empty());
    }
    // A folder that is there but may not be read is skipped and counted; running out of descriptors
    // fails the listing.
    std::vector<FileSystemError> skipped;
    FileSystemError denied;
    denied.code = EACCES;
    EXPECT_TRUE(SkipFailedSubfolder(tree_.Path(u"locked"), denied, &skipped));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].path, tree_.Path(u"locked"));
    FileSystemError exhausted;
    exhausted.code = EMFILE;
    EXPECT_FALSE(SkipFailedSubfolder(tree_.Path(u"deep"), exhausted, &skipped));
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
    OpeningSeam seam;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error, nullptr, &seam));
    ASSERT_EQ(sink.files.size(), 1u);
    EXPECT_EQ(sink.files[0].path, tree_.Path(u"real/inside.txt"));
    EXPECT_EQ(seam.Opened(), (std::vector<std::u16string>{tree_.Root(), tree_.Path(u"real")}));
}

}  // namespace
