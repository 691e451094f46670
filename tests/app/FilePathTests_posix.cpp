#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/PathChecks.h"
#include "app/export/filesystem/SystemPath.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <string>
#include <vector>

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

// Makes a file whose path is longer than PATH_MAX, in a folder of its own below `root`, its content
// `content`; the folders are made one component at a time. The file's path, or empty on failure.
std::u16string MakeFileBeyondThePathLimit(const std::u16string& root, const std::string& top,
                                          const std::string& content) {
    std::string path = EncodeFileName(root);
    int folder = open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (std::string part = top; folder >= 0 && path.size() < PATH_MAX; part = std::string(200, 'd')) {
        mkdirat(folder, part.c_str(), 0755);
        int next = openat(folder, part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        close(folder);
        folder = next;
        path += "/" + part;
    }
    int file = folder >= 0 ? openat(folder, "file.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0644) : -1;
    bool written =
        file >= 0 && write(file, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    if (file >= 0) {
        close(file);
    }
    if (folder >= 0) {
        close(folder);
    }
    return written ? DecodeFileName(path + "/file.txt") : std::u16string();
}

std::string ContentAt(const std::u16string& form) {
    int file = open(EncodeFileName(form).c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return "(cannot open: " + std::to_string(errno) + ")";
    }
    char buffer[64];
    ssize_t size = read(file, buffer, sizeof buffer);
    close(file);
    return std::string(buffer, size > 0 ? static_cast<std::size_t>(size) : 0);
}

// Each long path's form goes through a descriptor of its own: many held at once all lead to their own
// files, and a form's descriptor goes with it.
TEST(SystemPathPosix, KeepsEveryLongPathItHoldsValid) {
    TempTree tree;
    constexpr int kPaths = 12;
    std::vector<std::u16string> paths;
    std::vector<SystemPath> forms;
    for (int index = 0; index < kPaths; ++index) {
        std::string name = std::to_string(index);
        paths.push_back(MakeFileBeyondThePathLimit(tree.Root(), "top" + name, name));
        ASSERT_FALSE(paths.back().empty()) << index;
        forms.emplace_back(paths.back());
        ASSERT_NE(forms.back().Form(), paths.back()) << index;
    }
    for (int index = 0; index < kPaths; ++index) {
        EXPECT_EQ(ContentAt(forms[index].Form()), std::to_string(index)) << index;
    }
    // Moved, it still leads to the same file.
    SystemPath moved = std::move(forms.front());
    EXPECT_EQ(ContentAt(moved.Form()), "0");

    std::string form = EncodeFileName(moved.Form());
    int descriptor = std::stoi(form.substr(std::string("/proc/self/fd/").size()));
    EXPECT_NE(fcntl(descriptor, F_GETFD), -1);
    moved = SystemPath(tree.Path(u"short.txt"));
    EXPECT_EQ(fcntl(descriptor, F_GETFD), -1);
    EXPECT_EQ(moved.Form(), tree.Path(u"short.txt"));
}

}  // namespace
