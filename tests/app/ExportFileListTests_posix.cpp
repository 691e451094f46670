#include "app/export/ExportOutcomeText.h"
#include "app/export/NameCoding.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"
#include "tests/app/ProcessRun.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Row = WorkbookExpectation::Row;

std::string Raw(std::u16string_view path) {
    return EncodeUtf8(path);
}

// Sets TZ for one test and puts the old value back afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone) {
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        old_ = hadOld_ ? old : "";
        setenv("TZ", zone.c_str(), 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadOld_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    bool hadOld_;
    std::string old_;
};

// Lowers the soft limit of open files for one test.
class ScopedFileLimit {
public:
    explicit ScopedFileLimit(rlim_t limit) {
        getrlimit(RLIMIT_NOFILE, &old_);
        rlimit lowered = old_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~ScopedFileLimit() { setrlimit(RLIMIT_NOFILE, &old_); }

private:
    rlimit old_{};
};

// A limit that leaves exactly `count` descriptors free: open ones above it stay open, but no new one
// can get a number at or above it.
rlim_t LimitLeavingFree(int count) {
    std::vector<bool> open(4096, false);
    if (DIR* fds = opendir("/proc/self/fd")) {
        int own = dirfd(fds);
        while (dirent* entry = readdir(fds)) {
            int fd = std::atoi(entry->d_name);
            if (entry->d_name[0] != '.' && fd != own && fd < static_cast<int>(open.size())) {
                open[static_cast<std::size_t>(fd)] = true;
            }
        }
        closedir(fds);
    }
    int free = 0;
    for (std::size_t fd = 0; fd < open.size(); ++fd) {
        if (!open[fd] && free++ == count) {
            return static_cast<rlim_t>(fd);
        }
    }
    return static_cast<rlim_t>(open.size());
}

// The time statx reports as the file's creation: its birth time where the file system records one.
bool CreationSeconds(const std::u16string& path, std::int64_t& seconds, bool& isBirth) {
    struct statx info {};
    if (statx(AT_FDCWD, Raw(path).c_str(), 0, STATX_BTIME | STATX_MTIME, &info) != 0) {
        return false;
    }
    isBirth = (info.stx_mask & STATX_BTIME) != 0;
    seconds = isBirth ? info.stx_btime.tv_sec : info.stx_mtime.tv_sec;
    return true;
}

std::u16string UtcDateText(std::int64_t seconds) {
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    return DateText(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
}

class ExportPosixTest : public ExportTest {};

TEST_F(ExportPosixTest, ShowsTheLocalDayOfACreationJustAfterLocalMidnight) {
    tree_.MakeFile(u"night.txt");
    std::int64_t created = 0;
    bool isBirth = false;
    ASSERT_TRUE(CreationSeconds(tree_.Path(u"night.txt"), created, isBirth));
    // An offset east of UTC that puts the creation one minute past the next local midnight; the UTC
    // day is then the day before the local one.
    std::int64_t offset = 86400 - created % 86400 + 60;
    char zone[32];
    std::snprintf(zone, sizeof zone, "MVT-%02d:%02d:%02d", static_cast<int>(offset / 3600),
                  static_cast<int>(offset / 60 % 60), static_cast<int>(offset % 60));
    ScopedTimeZone timeZone(zone);

    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    std::u16string localDay = UtcDateText(created + offset);
    ASSERT_NE(localDay, UtcDateText(created));
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(
                                 {Row{u"night", tree_.Path(u"night.txt"), u"txt", u"0KB", localDay}}));
}

TEST_F(ExportPosixTest, TakesTheBirthTimeOverTheModificationTime) {
    tree_.MakeFile(u"old.txt");
    // 3 February 2001 12:00 UTC as the modification time.
    timespec times[2] = {{981201600, 0}, {981201600, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, Raw(tree_.Path(u"old.txt")).c_str(), times, 0), 0);
    std::int64_t created = 0;
    bool isBirth = false;
    ASSERT_TRUE(CreationSeconds(tree_.Path(u"old.txt"), created, isBirth));
    ScopedTimeZone timeZone("UTC0");

    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    // Where the file system keeps no birth time the modification time stands in.
    std::u16string expected = isBirth ? UtcDateText(created) : u"2001年2月3日";
    EXPECT_NE(isBirth, expected == u"2001年2月3日");
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(
                                 {Row{u"old", tree_.Path(u"old.txt"), u"txt", u"0KB", expected}}));
}

TEST_F(ExportPosixTest, GivesRowsToNamesThatAreNotUtf8) {
    std::string root = Raw(tree_.Root());
    ASSERT_EQ(mkdir((root + "/dir\xFE").c_str(), 0755), 0);
    for (std::string name : {"/bad\xFF.txt", "/dir\xFE/inner.txt"}) {
        int fd = open((root + name).c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        close(fd);
    }
    ExportOutcome outcome = Export(tree_.Root(), true);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet({
                                 FileRow(u"bad\uFFFD.txt", u"bad\uFFFD", u"txt", u"0KB"),
                                 FileRow(u"dir\uFFFD/inner.txt", u"inner", u"txt", u"0KB"),
                             }));
}

TEST_F(ExportPosixTest, WritesNamesWithQuotesAndControlCharacters) {
    const std::u16string names[] = {u"quote\"d.txt",    u"tab\there.txt",   u"new\nline.txt",
                                    u"back\\slash.txt", u"ctl\x01\x1f.txt", u"*?|:<>.txt"};
    std::vector<Row> rows;
    for (const std::u16string& name : names) {
        tree_.MakeFile(name, 1000);
        rows.push_back(FileRow(name, name.substr(0, name.find(u'.')), u"txt", u"1KB"));
    }
    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(rows));
}

TEST_F(ExportPosixTest, FailsTheListingWhenAStatusCannotBeRead) {
    tree_.MakeFile(u"a.txt");
    tree_.MakeFolder(u"sub");
    ASSERT_EQ(symlink("loop", Raw(tree_.Path(u"sub/loop")).c_str()), 0);

    EXPECT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    tree_.Remove(kOutputName);

    ExportOutcome outcome = Export(tree_.Root(), true);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::ListingFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.operation, "directory_entry::status");
    EXPECT_EQ(outcome.cause.path, tree_.Path(u"sub/loop"));
    EXPECT_EQ(outcome.cause.code, ELOOP);
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"a.txt", u"sub"}));
}

TEST_F(ExportPosixTest, FailsTheListingWhenASubFolderCannotBeOpened) {
    std::u16string deep;
    for (int level = 0; level < 64; ++level) {
        deep += u"d/";
    }
    tree_.MakeFile(deep + u"bottom.txt");
    tree_.MakeFile(u"top.txt");

    ExportOutcome outcome;
    {
        // Room for a few open folders only: the walk runs out of descriptors on the way down.
        ScopedFileLimit limit(LimitLeavingFree(4));
        outcome = Export(tree_.Root(), true);
    }
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::ListingFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.operation, "recursive_directory_iterator::operator++");
    EXPECT_EQ(outcome.cause.code, EMFILE);
    EXPECT_FALSE(tree_.Exists(kOutputName));
}

TEST_F(ExportPosixTest, FailsTheListingPartWayAndKeepsTheEarlierWorkbook) {
    // Files on every level of a chain of folders, and at its bottom an entry whose status cannot be
    // read: rows are under way when the walk fails.
    std::u16string deep;
    std::vector<std::u16string> names = {u"d", kOutputName};
    for (int level = 0; level < 16; ++level) {
        for (int file = 0; file < 8; ++file) {
            std::u16string name = u"f" + std::u16string(1, static_cast<char16_t>(u'0' + file));
            tree_.MakeFile(deep + name);
            if (level == 0) {
                names.push_back(name);
            }
        }
        deep += u"d/";
    }
    tree_.MakeFolder(deep);
    ASSERT_EQ(symlink("loop", Raw(tree_.Path(deep + u"loop")).c_str()), 0);
    tree_.WriteFile(kOutputName, "the earlier workbook");

    ExportOutcome outcome = Export(tree_.Root(), true);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::ListingFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.operation, "directory_entry::status");
    EXPECT_EQ(outcome.cause.path, tree_.Path(deep + u"loop"));
    EXPECT_EQ(Utf8(ExportOutcomeText(outcome)), "生成失败,无法读取目录");
    EXPECT_EQ(tree_.ReadFile(kOutputName), "the earlier workbook");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(tree_.ListNames(), names);
}

TEST_F(ExportPosixTest, FailsTheListingOfAFolderWithoutPermission) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    tree_.MakeFile(u"a.txt");
    tree_.MakeFile(u"locked/b.txt");
    ASSERT_EQ(chmod(Raw(tree_.Path(u"locked")).c_str(), 0), 0);
    ExportOutcome outcome = Export(tree_.Root(), true);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::ListingFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.path, tree_.Path(u"locked"));
    EXPECT_EQ(outcome.cause.code, EACCES);
}

TEST_F(ExportPosixTest, KeepsAnEarlierWorkbookWhenTheNewOneCannotBeWritten) {
    // A folder whose path leaves room for the workbook's name (the longest path the system takes is
    // 4095 bytes) but not for the longer temporary name the new workbook is first written under.
    std::u16string relative;
    while (tree_.Root().size() + relative.size() + 1 < 4095 - 1 - EncodeUtf8(kOutputName).size()) {
        std::size_t room =
            4095 - 1 - EncodeUtf8(kOutputName).size() - tree_.Root().size() - relative.size() - 1;
        relative +=
            (relative.empty() ? u"" : u"/") + std::u16string(std::min<std::size_t>(room - 1, 200), u'x');
        if (room - 1 <= 200) {
            break;
        }
    }
    std::u16string folder = tree_.Path(relative);
    ASSERT_EQ(EncodeUtf8(folder).size() + 1 + EncodeUtf8(kOutputName).size(), 4095u)
        << EncodeUtf8(folder).size();
    tree_.MakeFile(relative + u"/a.txt");
    tree_.WriteFile(relative + u"/" + kOutputName, "the earlier workbook");

    ExportOutcome outcome = Export(folder, false);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::WriteFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.fileCount, 2);
    EXPECT_EQ(outcome.cause.path, folder + u"/" + kOutputName);
    EXPECT_EQ(tree_.ReadFile(relative + u"/" + kOutputName), "the earlier workbook");
    EXPECT_EQ(tree_.ListNames(relative), (std::vector<std::u16string>{u"a.txt", kOutputName}));
}

// morvane-export: Ctrl-C stops the export, which removes its temporary file and keeps the earlier
// workbook.
TEST_F(ExportPosixTest, InterruptedMorvaneExportEndsAsCancelled) {
    for (int folder = 0; folder < 20; ++folder) {
        for (int file = 0; file < 200; ++file) {
            std::string name = "sub" + std::to_string(folder) + "/file" + std::to_string(file) + ".txt";
            tree_.MakeFile(std::u16string(name.begin(), name.end()));
        }
    }
    tree_.WriteFile(kOutputName, "the earlier workbook");
    std::vector<std::u16string> names = tree_.ListNames();

    bool interrupted = false;
    ProcessResult result = RunMorvaneExportInterrupted({u"--recursive", tree_.Root()}, interrupted);
    ASSERT_TRUE(result.started) << "morvane-export could not be started: build the target morvane-export";
    ASSERT_TRUE(interrupted) << "the export ended before it could be interrupted";
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.output, "已取消\n");
    EXPECT_EQ(tree_.ReadFile(kOutputName), "the earlier workbook");
    EXPECT_EQ(tree_.ListNames(), names);
}

TEST_F(ExportPosixTest, RefusesToWalkTheWholeFileSystem) {
    for (std::u16string root : {u"/", u"//"}) {
        EXPECT_EQ(Export(root, true).kind, ExportOutcomeKind::NoFiles) << Utf8(root);
    }
}

}  // namespace
