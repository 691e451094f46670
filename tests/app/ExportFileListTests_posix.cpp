#include "app/export/ExportOutcomeText.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/workbook/TemporaryWorkbookName.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"
#include "tests/app/ProcessRun.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
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

// The size column of a file as the export writes it (the file has not changed since).
std::u16string SizeTextOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    std::string digits = std::to_string(status.st_size / 1000);
    return std::u16string(digits.begin(), digits.end()) + u"KB";
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

TEST_F(ExportPosixTest, SkipsLinksThatLoopOrLeadNowhere) {
    tree_.MakeFile(u"a.txt");
    tree_.MakeFile(u"sub/b.txt");
    ASSERT_EQ(symlink("loop", Raw(tree_.Path(u"sub/loop")).c_str()), 0);
    ASSERT_EQ(symlink("missing", Raw(tree_.Path(u"sub/dangling")).c_str()), 0);
    ASSERT_EQ(symlink("..", Raw(tree_.Path(u"sub/up")).c_str()), 0);

    for (bool recursive : {true, false}) {
        ExportOutcome outcome = Export(tree_.Path(recursive ? u"" : u"sub"), recursive);
        EXPECT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
        EXPECT_TRUE(outcome.skippedFolders.empty());
    }
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet({
                                 FileRow(u"a.txt", u"a", u"txt", u"0KB"),
                                 FileRow(u"sub/b.txt", u"b", u"txt", u"0KB"),
                             }));
    EXPECT_TRUE(tree_.Exists(std::u16string(u"sub/") + kOutputName));
}

TEST_F(ExportPosixTest, KeepsTheModeAndOwnerOfAReplacedWorkbook) {
    tree_.MakeFile(u"a.txt");
    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ASSERT_EQ(chmod(Raw(Output()).c_str(), 0604), 0);
    // Only the superuser may give the file away; otherwise the owner stays the test's own.
    uid_t owner = geteuid() == 0 ? 65534 : geteuid();
    ASSERT_EQ(chown(Raw(Output()).c_str(), owner, static_cast<gid_t>(-1)), 0);
    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    struct stat status {};
    ASSERT_EQ(stat(Raw(Output()).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_EQ(status.st_uid, owner);
    // The new workbook was put in place: it lists the earlier one.
    EXPECT_EQ(Export(tree_.Root(), false).fileCount, 2);
}

// A folder is closed once it is read, so the depth of the tree needs no descriptors; running out of
// them fails the listing, which no skipping of folders can mend.
TEST_F(ExportPosixTest, ListsDeepTreesWithFewDescriptorsAndFailsWithoutAny) {
    std::u16string deep;
    for (int level = 0; level < 64; ++level) {
        deep += u"d/";
    }
    tree_.MakeFile(deep + u"bottom.txt");
    tree_.MakeFile(u"top.txt");
    {
        ScopedFileLimit limit(LimitLeavingFree(4));
        ExportOutcome outcome = Export(tree_.Root(), true);
        EXPECT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
        EXPECT_EQ(outcome.fileCount, 2);
    }
    tree_.WriteFile(kOutputName, "the earlier workbook");

    ExportOutcome outcome;
    {
        ScopedFileLimit limit(LimitLeavingFree(0));
        outcome = Export(tree_.Root(), true);
    }
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::ListingFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.operation, "recursive_directory_iterator::recursive_directory_iterator");
    EXPECT_EQ(outcome.cause.code, EMFILE);
    EXPECT_EQ(Utf8(ExportOutcomeText(outcome)), "生成失败,无法读取目录");
    // The earlier workbook stays, and no temporary one is left.
    EXPECT_EQ(tree_.ReadFile(kOutputName), "the earlier workbook");
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"d", u"top.txt", kOutputName}));
}

TEST_F(ExportPosixTest, SkipsASubFolderWithoutPermission) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser (MorvaneExportAsUserTest runs this as a user)";
    }
    tree_.MakeFile(u"a.txt");
    tree_.MakeFile(u"locked/b.txt");
    ASSERT_EQ(chmod(Raw(tree_.Path(u"locked")).c_str(), 0), 0);
    ExportOutcome outcome = Export(tree_.Root(), true);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ASSERT_EQ(outcome.skippedFolders.size(), 1u);
    EXPECT_EQ(outcome.skippedFolders[0].path, tree_.Path(u"locked"));
    EXPECT_EQ(outcome.skippedFolders[0].code, EACCES);
}

// Opens (with `create`, makes) the folder `parts` below `root` one component at a time, so that its
// path may exceed PATH_MAX. -1 on failure.
int OpenDeepFolder(const std::string& root, const std::vector<std::string>& parts, bool create) {
    int fd = open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (const std::string& part : parts) {
        if (create) {
            mkdirat(fd, part.c_str(), 0755);
        }
        int next = openat(fd, part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = next;
        if (fd < 0) {
            break;
        }
    }
    return fd;
}

TEST_F(ExportPosixTest, WritesIntoFoldersBeyondThePathLimit) {
    // The workbook's path exactly at the longest the system takes by name (4095 bytes), so its
    // temporary name lies beyond; and a folder whose own path does.
    const std::size_t outputBytes = EncodeUtf8(kOutputName).size();
    for (std::size_t target : {4095 - 1 - outputBytes, std::size_t{6000}}) {
        SCOPED_TRACE(target);
        std::vector<std::string> parts;
        std::string folder = Raw(tree_.Root());
        while (folder.size() < target) {
            std::size_t room = target - folder.size() - 1;
            // Never leave a single byte: no component could take it after a separator.
            std::size_t take = room <= 200 ? room : (room - 200 < 2 ? 150 : 200);
            parts.push_back(std::string(take, static_cast<char>('a' + parts.size() % 26)));
            folder += "/" + parts.back();
        }
        ASSERT_EQ(folder.size(), target);
        int fd = OpenDeepFolder(Raw(tree_.Root()), parts, true);
        ASSERT_GE(fd, 0);
        int file = openat(fd, "a.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0);
        close(file);
        close(fd);

        // Read back through this process's own descriptor of the folder.
        fd = OpenDeepFolder(Raw(tree_.Root()), parts, false);
        ASSERT_GE(fd, 0);
        std::string viaDescriptor = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(fd);
        // The second export lists the first one's workbook and replaces it.
        EXPECT_EQ(Export(DecodeFileName(folder), false).kind, ExportOutcomeKind::Done);
        std::u16string firstSize = SizeTextOf(viaDescriptor + "/" + Raw(kOutputName));
        ExportOutcome outcome = Export(DecodeFileName(folder), true);
        EXPECT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
        ExpectWorkbook(DecodeFileName(viaDescriptor + "/") + kOutputName,
                       WorkbookExpectation::SingleSheet({
                           Row{u"a", DecodeFileName(folder + "/a.txt"), u"txt", u"0KB", LocalTodayText()},
                           Row{u"文件清单_", DecodeFileName(folder + "/") + kOutputName, u"xlsx", firstSize,
                               LocalTodayText()},
                       }));
        close(fd);
    }
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

inline constexpr char kStrace[] = "/usr/bin/strace";

// morvane-export under strace, which fails or records the calls the test names.
RunOptions Traced(std::vector<std::string> straceArguments) {
    RunOptions options;
    options.wrapper = {kStrace, "-f", "-qq"};
    options.wrapper.insert(options.wrapper.end(), straceArguments.begin(), straceArguments.end());
    // The leak checker cannot work in a traced process.
    options.environment.emplace_back("ASAN_OPTIONS", u"detect_leaks=0");
    return options;
}

class ExportTracedTest : public ExportPosixTest {
protected:
    void SetUp() override {
        if (access(kStrace, X_OK) != 0) {
            GTEST_SKIP() << "strace is not installed (scripts/setup installs it)";
        }
        tree_.MakeFile(u"files/a.txt");
        tree_.MakeFile(u"files/sub/b.txt");
    }
};

TEST_F(ExportTracedTest, ReportsAFolderTheSystemCannotReadAsAFailure) {
    const std::string folder = Raw(tree_.Path(u"files"));
    // The export's two checks of the folder, by its path, in order (strace counts a thread's calls).
    const struct {
        const char* what;
        int lookUp;
        bool recursive;
    } rows[] = {
        {"the check that it exists", 1, false},
        {"the check that it is a folder", 2, false},
        {"the check that it is a folder, recursively", 2, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        RunOptions options = Traced({"-o", "/dev/null", "-P", folder, "-e", "trace=newfstatat", "-e",
                                     "inject=newfstatat:error=EIO:when=" + std::to_string(row.lookUp)});
        std::vector<std::u16string> arguments{tree_.Path(u"files")};
        if (row.recursive) {
            arguments.insert(arguments.begin(), u"-r");
        }
        ProcessResult result = RunMorvaneExport(arguments, options);
        ASSERT_TRUE(result.started);
        EXPECT_EQ(result.exitCode, 3) << result.errorOutput;
        EXPECT_EQ(result.output, EncodeUtf8(u"生成失败,无法读取目录\n"));
        EXPECT_NE(result.errorOutput.find(folder + ": Input/output error\n"), std::string::npos)
            << result.errorOutput;
        EXPECT_EQ(tree_.ListNames(u"files"), (std::vector<std::u16string>{u"a.txt", u"sub"}));
    }
}

// The listing's own look at the folder fails too where the folder cannot be reached (here: no search
// permission on its parent, for a user bound by permissions), and says so instead of finding no files.
TEST_F(ExportPosixTest, ListingFailsWhereTheFolderCannotBeLookedAt) {
    tree_.MakeFile(u"locked/files/a.txt");
    tree_.SetMode(u"", 0755);
    tree_.SetMode(u"locked", 0);
    for (bool recursive : {false, true}) {
        SCOPED_TRACE(recursive ? "recursive" : "flat");
        const pid_t child = fork();
        if (child == 0) {
            // As a user whom permissions bind; the answer is the exit code.
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                _exit(10);
            }
            CollectingSink sink;
            FileSystemError error;
            const std::u16string folder = tree_.Path(u"locked/files");
            const bool listed = recursive ? ListFilesRecursive(folder, sink, nullptr, error)
                                          : ListFiles(folder, sink, nullptr, error);
            _exit(listed ? 11 : error.code == EACCES ? 0 : 12);
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no user change, 11: listed as empty, 12: another error";
    }
    tree_.SetMode(u"locked", 0755);
}

TEST_F(ExportTracedTest, FlushesTheWorkbookBeforeItTakesTheNameAndTheFolderAfter) {
    const std::string log = Raw(tree_.Path(u"trace.log"));
    RunOptions options = Traced({"-y", "-o", log, "-e", "trace=fsync,fdatasync,rename,renameat,renameat2"});
    ProcessResult result = RunMorvaneExport({tree_.Path(u"files")}, options);
    ASSERT_TRUE(result.started);
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
    // One line a call: "PID fsync(FD</path>) = 0" (strace writes the bytes of other names escaped).
    std::vector<std::string> calls;
    std::string all = tree_.ReadFile(u"trace.log");
    for (std::size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
        calls.push_back(all.substr(start, end - start));
    }
    auto find = [&](std::size_t from, auto matches) {
        auto found = std::find_if(calls.begin() + static_cast<std::ptrdiff_t>(from), calls.end(), matches);
        return static_cast<std::size_t>(found - calls.begin());
    };
    auto isFlush = [](const std::string& call) {
        return call.find(" fsync(") != std::string::npos || call.find(" fdatasync(") != std::string::npos;
    };
    const std::size_t rename = find(0, [](const std::string& call) {
        return call.find("rename") != std::string::npos && call.find(".tmp\"") != std::string::npos &&
               call.find(".xlsx\"") != std::string::npos && call.ends_with("= 0");
    });
    ASSERT_LT(rename, calls.size()) << all;
    const std::size_t fileFlush = find(0, [&](const std::string& call) {
        return isFlush(call) && call.find(".tmp>)") != std::string::npos && call.ends_with("= 0");
    });
    EXPECT_LT(fileFlush, rename) << "the new workbook's data is flushed before the rename\n" << all;
    const std::string folder = "<" + Raw(tree_.Path(u"files")) + ">)";
    const std::size_t folderFlush = find(rename, [&](const std::string& call) {
        return isFlush(call) && call.find(folder) != std::string::npos && call.ends_with("= 0");
    });
    EXPECT_LT(folderFlush, calls.size()) << "the folder is flushed after the rename\n" << all;
}

TEST_F(ExportPosixTest, CutsAPathTooLongForACellToItsEndAndSaysSo) {
    // Linux takes paths of any length one folder at a time; a cell holds 32,767 characters.
    std::vector<std::string> parts;
    std::string folder = Raw(tree_.Root());
    while (folder.size() < 33800) {
        parts.push_back(std::string(250, static_cast<char>('a' + parts.size() % 26)));
        folder += "/" + parts.back();
    }
    int fd = OpenDeepFolder(Raw(tree_.Root()), parts, true);
    ASSERT_GE(fd, 0);
    const std::string name = "报告.final.txt";
    int file = openat(fd, name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0);
    close(file);
    const std::u16string path = DecodeFileName(folder + "/" + name);
    ASSERT_GT(path.size(), 33000u);

    ProcessResult result = RunMorvaneExport({DecodeFileName(folder)});
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 4) << result.errorOutput;
    EXPECT_EQ(result.output, EncodeUtf8(u"生成完毕,文件数量1个。1个单元格超过32767个字符,已截断。\n"));
    EXPECT_NE(result.errorOutput.find("Sheet1 row 2 column B"), std::string::npos) << result.errorOutput;
    std::string viaDescriptor = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(fd);
    ExpectWorkbook(DecodeFileName(viaDescriptor + "/") + kOutputName,
                   WorkbookExpectation::SingleSheet({Row{u"报告", u"…" + path.substr(path.size() - 32766),
                                                         u"txt", u"0KB", LocalTodayText()}}));
    close(fd);
}

// Holds the listing back, for as long as the process lives, once the first read of a folder (256
// entries) is done: its files reach the writer, which begins the workbook and then waits.
class StopAfterFirstRead : public ListingSeam {
public:
    int BeforeRead(std::u16string_view, bool opening) const override {
        while (!opening) {
            pause();
        }
        return 0;
    }
};

// A child process, killed when the test ends whatever happened.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ~ChildProcess() { Kill(); }
    void Kill() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            int status = 0;
            waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_;
};

TEST_F(ExportPosixTest, RemovesTheTemporaryFileOfAKilledExportButNotOfARunningOne) {
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "ThreadSanitizer does not follow an export's threads into a forked child (the "
                    "AddressSanitizer build runs this test)";
#endif
    std::vector<std::u16string> names{kOutputName};
    for (int i = 0; i < 300; ++i) {
        const std::string name = "f" + std::to_string(i) + ".txt";
        names.emplace_back(name.begin(), name.end());
        tree_.MakeFile(names.back());
    }
    std::sort(names.begin(), names.end());
    const pid_t pid = fork();
    if (pid == 0) {
        // An export that has begun its workbook and then stops, until it is killed.
        StopAfterFirstRead seam;
        ExportOptions options;
        options.listingSeam = &seam;
        Export(tree_.Root(), true, options);
        _exit(1);
    }
    ASSERT_GT(pid, 0);
    ChildProcess child(pid);
    auto temporaryFiles = [&] {
        std::vector<std::u16string> names = tree_.ListNames();
        std::erase_if(names, [](const std::u16string& name) { return !IsTemporaryWorkbookName(name); });
        return names;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (temporaryFiles().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::vector<std::u16string> running = temporaryFiles();
    ASSERT_EQ(running.size(), 1u);

    // Another export into the same folder leaves the running one's file alone.
    EXPECT_EQ(ExportRoot(false).kind, ExportOutcomeKind::Done);
    EXPECT_EQ(temporaryFiles(), running);

    child.Kill();
    EXPECT_EQ(ExportRoot(false).kind, ExportOutcomeKind::Done);
    EXPECT_EQ(temporaryFiles(), std::vector<std::u16string>{});
    EXPECT_EQ(tree_.ListNames(), names);
}

}  // namespace
