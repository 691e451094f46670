#include "app/export/ExportOutcomeText.h"
#include "app/export/filesystem/FileOperations.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/workbook/TemporaryWorkbookName.h"
#include "app/export/workbook/WorkbookWriter.h"
#include "runtime/CPoolMem.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"
#include "tests/app/ProcessRun.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Row = WorkbookExpectation::Row;

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// A file or folder open for reading, as a program holding it open has it: sharing nothing, or (as Excel
// shares an open workbook) only what `share` says.
class HeldOpen {
public:
    explicit HeldOpen(const std::u16string& path, DWORD share = 0)
        : handle_(CreateFileW(Wide(path), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~HeldOpen() { Close(); }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (IsOpen()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

FILETIME LocalTimeToUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME local{};
    local.wYear = year;
    local.wMonth = month;
    local.wDay = day;
    local.wHour = hour;
    local.wMinute = minute;
    FILETIME localTime{};
    FILETIME utc{};
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

class ExportWinTest : public ExportTest {};

TEST_F(ExportWinTest, ListsHiddenAndSystemFiles) {
    struct {
        std::u16string name;
        DWORD attributes;
    } files[] = {
        {u"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
        {u"system.txt", FILE_ATTRIBUTE_SYSTEM},
        {u"both.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {u"readonly.txt", FILE_ATTRIBUTE_READONLY},
    };
    std::vector<Row> rows;
    for (const auto& file : files) {
        tree_.MakeFile(file.name, 3000);
        ASSERT_TRUE(SetFileAttributesW(Wide(tree_.Path(file.name)), file.attributes));
        rows.push_back(FileRow(file.name, file.name.substr(0, file.name.size() - 4), u"txt", u"3KB"));
    }
    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(rows));
}

bool SetTimes(const std::u16string& path, const FILETIME& created, const FILETIME& modified) {
    HANDLE file = CreateFileW(Wide(path), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool set = SetFileTime(file, &created, nullptr, &modified) != 0;
    CloseHandle(file);
    return set;
}

bool KeepsCreationTime(const std::u16string& path, const FILETIME& created) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data) &&
           CompareFileTime(&data.ftCreationTime, &created) == 0;
}

TEST_F(ExportWinTest, ShowsTheLocalDayOfACreationJustAfterLocalMidnight) {
    tree_.MakeFile(u"night.txt");
    std::u16string path = tree_.Path(u"night.txt");
    FILETIME created = LocalTimeToUtc(2021, 3, 4, 0, 30);
    // The modification time lies on another day: the creation time is the one shown. A file system
    // that keeps no creation time of its own (Wine's, on Linux) gets the same time for both.
    FILETIME modified = LocalTimeToUtc(2020, 1, 1, 12, 0);
    ASSERT_TRUE(SetTimes(path, created, modified));
    if (!KeepsCreationTime(path, created)) {
        ASSERT_TRUE(SetTimes(path, created, created));
    }

    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(),
                   WorkbookExpectation::SingleSheet({Row{u"night", path, u"txt", u"0KB", u"2021年3月4日"}}));
}

TEST(FileOperationsWin, TriesAgainOnlyAfterRefusalsAnotherProgramCanCause) {
    const struct {
        const char* what;
        int code;
        bool targetRefusesForGood;
        bool retried;
    } rows[] = {
        {"sharing violation", ERROR_SHARING_VIOLATION, false, true},
        {"lock violation", ERROR_LOCK_VIOLATION, false, true},
        {"access denied (a file waiting for its deletion)", ERROR_ACCESS_DENIED, false, true},
        {"unable to remove the replaced file", ERROR_UNABLE_TO_REMOVE_REPLACED, false, true},
        {"unable to move the replacement", ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, true},
        {"unable to move the replacement, replaced file renamed", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, false,
         true},
        {"access denied to a read-only file or a folder", ERROR_ACCESS_DENIED, true, false},
        {"disk full", ERROR_DISK_FULL, false, false},
        {"end of the disk (handle)", ERROR_HANDLE_DISK_FULL, false, false},
        {"missing folder", ERROR_PATH_NOT_FOUND, false, false},
        {"missing file", ERROR_FILE_NOT_FOUND, false, false},
        {"read-only medium", ERROR_WRITE_PROTECT, false, false},
        {"name taken", ERROR_ALREADY_EXISTS, false, false},
        {"not supported", ERROR_NOT_SUPPORTED, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(AnotherProgramMayCause(row.code, row.targetRefusesForGood), row.retried);
    }
}

// Waits, with a generous deadline, until `done()` holds; false when it still does not.
template <class Condition>
bool Eventually(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

inline constexpr char kEarlierWorkbook[] = "the earlier workbook";
inline constexpr char16_t kInUseText[] = u"生成失败,文件清单_.xlsx 已被其他程序打开,请关闭后重试";
inline constexpr char16_t kTemporaryPattern[] = u"~文件清单_*.tmp";

// Steps into putting the workbook in place: counts the tries and lets a test act before each one (wait
// for another process, take the workbook, fail the try as the system would).
class SteppingSeam : public PlacementSeam {
public:
    // Called with the try's number (from 1) and the seam's arguments; answers what BeforeTry answers.
    using Step = std::function<int(int attempt, std::u16string_view replaced, std::u16string_view backup)>;
    // Called before a move to a name the system left empty; answers what BeforeMove answers.
    using MoveStep = std::function<int(std::u16string_view from, std::u16string_view to)>;

    explicit SteppingSeam(Step step = {}, MoveStep moveStep = {})
        : step_(std::move(step)), moveStep_(std::move(moveStep)) {}

    int BeforeMove(std::u16string_view from, std::u16string_view to) const override {
        return moveStep_ ? moveStep_(from, to) : 0;
    }

    int BeforeTry(std::u16string_view replaced, std::u16string_view,
                  std::u16string_view backup) const override {
        int attempt = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            attempt = ++tries_;
        }
        changed_.notify_all();
        return step_ ? step_(attempt, replaced, backup) : 0;
    }

    int Tries() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return tries_;
    }
    // Waits until the try `attempt` has begun; false when it did not within two minutes.
    bool WaitForTry(int attempt) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(2), [&] { return tries_ >= attempt; });
    }

private:
    Step step_;
    MoveStep moveStep_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable int tries_ = 0;
};

class ExportHeldFileTest : public ExportTest {
protected:
    ExportHeldFileTest() {
        tree_.MakeFile(u"a.txt");
        tree_.WriteFile(kOutputName, kEarlierWorkbook);
    }

    // The folder as it was before the export: no temporary file, no backup left.
    std::vector<std::u16string> Untouched() const { return {u"a.txt", kOutputName}; }
    bool Untouched(const std::vector<std::u16string>& names) const { return names == Untouched(); }

    // A seam whose first try waits until `scanner` holds the new workbook, as a scanner quick to open
    // every new file would; `held` tells whether it came to that.
    static SteppingSeam FirstTryOnceHeld(FileHolder& scanner, bool& held) {
        return SteppingSeam([&scanner, &held](int attempt, std::u16string_view, std::u16string_view) {
            held = held || (attempt == 1 && scanner.WaitUntilHolding(120000));
            return 0;
        });
    }

    // The rows of a workbook written over the earlier one, which is listed like any file.
    WorkbookExpectation Rows() const {
        return WorkbookExpectation::SingleSheet(
            {FileRow(u"a.txt", u"a", u"txt", u"0KB"), FileRow(kOutputName, u"文件清单_", u"xlsx", u"0KB")});
    }
};

TEST_F(ExportHeldFileTest, ReportsAWorkbookOpenInAnotherProgramBeforeListing) {
    const struct {
        const char* what;
        DWORD share;
        ExportOutcomeKind kind;
    } rows[] = {
        {"shared with no one", 0, ExportOutcomeKind::WorkbookInUse},
        {"shared for reading, as Excel does", FILE_SHARE_READ, ExportOutcomeKind::WorkbookInUse},
        {"shared for reading and writing", FILE_SHARE_READ | FILE_SHARE_WRITE,
         ExportOutcomeKind::WorkbookInUse},
        // Such a holder does not keep the workbook from being replaced: the earlier one goes once it
        // lets go.
        {"shared for deletion too", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
         ExportOutcomeKind::Done},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        tree_.WriteFile(kOutputName, kEarlierWorkbook);
        HeldOpen holder(Output(), row.share);
        ASSERT_TRUE(holder.IsOpen());
        ExportOutcome outcome = ExportRoot(false);
        ASSERT_EQ(outcome.kind, row.kind) << testing::PrintToString(outcome);
        if (row.kind == ExportOutcomeKind::WorkbookInUse) {
            EXPECT_EQ(Text(ExportOutcomeText(outcome)), kInUseText);
            EXPECT_EQ(outcome.fileCount, 0) << "found before the listing";
            EXPECT_EQ(outcome.cause.path, Output());
            EXPECT_EQ(outcome.cause.code, ERROR_SHARING_VIOLATION);
            EXPECT_EQ(outcome.cause.message, SystemErrorText(ERROR_SHARING_VIOLATION));
            holder.Close();
            EXPECT_EQ(tree_.ReadFile(kOutputName), kEarlierWorkbook);
        } else {
            ExpectWorkbook(Output(), Rows());
            holder.Close();
        }
        EXPECT_TRUE(Eventually([&] { return Untouched(tree_.ListNames()); }))
            << testing::PrintToString(tree_.ListNames());
    }
}

TEST_F(ExportHeldFileTest, WaitsOutAShortHoldOnTheWorkbookBeforeListing) {
    // A scanner or indexer reading the last workbook for a moment, as the export begins.
    auto scanner = std::make_unique<HeldOpen>(Output(), FILE_SHARE_READ);
    ASSERT_TRUE(scanner->IsOpen());
    std::thread lettingGo([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        scanner->Close();
    });
    ExportOutcome outcome = ExportRoot(false);
    lettingGo.join();
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ExpectWorkbook(Output(), Rows());

    // Excel keeps it open: told after the short wait, not after the replacement's ten seconds.
    HeldOpen excel(Output(), FILE_SHARE_READ);
    ASSERT_TRUE(excel.IsOpen());
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(ExportRoot(false).kind, ExportOutcomeKind::WorkbookInUse);
    const long long waited = MillisecondsSince(asked);
    RecordProperty("in_use_told_after_ms", std::to_string(waited));
    EXPECT_GE(waited, 1000) << "the hold was not waited out";
    EXPECT_LT(waited, 8000) << "an open workbook is told within about two seconds";
}

TEST_F(ExportHeldFileTest, LeavesATemporaryWorkbookThatARunningExportWrites) {
    // As libxlsxwriter holds the file it writes: sharing reading only.
    tree_.WriteFile(u"~文件清单_0000BEEF.tmp", "being written");
    tree_.WriteFile(u"~文件清单_DEAD0000.tmp", "left by a killed export");
    auto writer = std::make_unique<HeldOpen>(tree_.Path(u"~文件清单_0000BEEF.tmp"), FILE_SHARE_READ);
    ASSERT_TRUE(writer->IsOpen());
    ASSERT_EQ(ExportRoot(false).kind, ExportOutcomeKind::Done);
    EXPECT_EQ(tree_.ListNames(),
              (std::vector<std::u16string>{u"a.txt", u"~文件清单_0000BEEF.tmp", kOutputName}));
    writer.reset();
    ASSERT_EQ(ExportRoot(false).kind, ExportOutcomeKind::Done);
    EXPECT_EQ(tree_.ListNames(), Untouched());
}

TEST_F(ExportHeldFileTest, NamesTheOutputFileThatAnotherProgramHoldsOpen) {
    tree_.WriteFile(u"elsewhere/list.xlsx", kEarlierWorkbook);
    HeldOpen holder(tree_.Path(u"elsewhere/list.xlsx"), FILE_SHARE_READ);
    ASSERT_TRUE(holder.IsOpen());
    ExportOptions options;
    options.outputPath = tree_.Path(u"elsewhere/list.xlsx");
    ExportOutcome outcome = ExportRoot(false, options);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::WorkbookInUse) << testing::PrintToString(outcome);
    EXPECT_EQ(Text(ExportOutcomeText(outcome)), u"生成失败,list.xlsx 已被其他程序打开,请关闭后重试");
    EXPECT_EQ(tree_.ReadFile(u"elsewhere/list.xlsx"), kEarlierWorkbook);
    EXPECT_EQ(tree_.ListNames(u"elsewhere"), std::vector<std::u16string>{u"list.xlsx"});
}

TEST_F(ExportHeldFileTest, ReportsAWorkbookTakenByAnotherProgramWhileExporting) {
    // Opened, as Excel opens it, after the check before the listing and before the workbook is replaced.
    std::unique_ptr<HeldOpen> excel;
    SteppingSeam seam([&](int attempt, std::u16string_view, std::u16string_view) {
        if (attempt == 1) {
            excel = std::make_unique<HeldOpen>(Output(), FILE_SHARE_READ);
        }
        return 0;
    });
    ExportOptions options;
    options.placementSeam = &seam;
    options.heldFileWait = std::chrono::milliseconds(500);
    ExportOutcome outcome = ExportRoot(false, options);
    ASSERT_TRUE(excel && excel->IsOpen());
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::WorkbookInUse) << testing::PrintToString(outcome);
    EXPECT_EQ(Text(ExportOutcomeText(outcome)), kInUseText);
    EXPECT_EQ(outcome.cause.path, Output());
    EXPECT_GE(seam.Tries(), 2) << "tried again while the workbook was held";
    EXPECT_EQ(tree_.ReadFile(kOutputName), kEarlierWorkbook);
    EXPECT_EQ(tree_.ListNames(), Untouched());
}

// Each documented outcome of ReplaceFileW, injected as the system gives it, and the moves that follow
// one that left the name empty: whatever fails, a complete workbook has the name, or the user is told
// where both are.
TEST_F(ExportHeldFileTest, EveryOutcomeOfTheReplacementLeavesAWorkbookWhereTheUserFindsIt) {
    enum class Left { Earlier, New, Both };
    enum class Back { Moves, Refused, HeldBySyncClient };
    const struct {
        const char* what;
        int code;
        int failingTries;  // then the replacement goes through
        Back back;         // the earlier workbook's move back from the backup name, after 1177
        bool newMayTakeTheName;
        ExportOutcomeKind kind;
        Left left;
    } rows[] = {
        {"1175 always", ERROR_UNABLE_TO_REMOVE_REPLACED, 1000, Back::Moves, true,
         ExportOutcomeKind::WriteFailed, Left::Earlier},
        {"1176 always", ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1000, Back::Moves, true,
         ExportOutcomeKind::WriteFailed, Left::Earlier},
        {"1176 once", ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1, Back::Moves, true, ExportOutcomeKind::Done,
         Left::New},
        {"1177 always, moved back each time", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1000, Back::Moves, true,
         ExportOutcomeKind::WriteFailed, Left::Earlier},
        {"1177 once, moved back", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, Back::Moves, true,
         ExportOutcomeKind::Done, Left::New},
        {"1177, the way back refused", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, Back::Refused, true,
         ExportOutcomeKind::Done, Left::New},
        {"1177, the backup held by a sync client", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1,
         Back::HeldBySyncClient, true, ExportOutcomeKind::Done, Left::New},
        {"1177, neither may take the name", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, Back::Refused, false,
         ExportOutcomeKind::WriteFailed, Left::Both},
        {"sharing violation once", ERROR_SHARING_VIOLATION, 1, Back::Moves, true, ExportOutcomeKind::Done,
         Left::New},
        {"another error: nothing moved, no second try", ERROR_INVALID_PARAMETER, 1000, Back::Moves, true,
         ExportOutcomeKind::WriteFailed, Left::Earlier},
        {"a file system that cannot replace", ERROR_NOT_SUPPORTED, 1, Back::Moves, true,
         ExportOutcomeKind::Done, Left::New},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (const std::u16string& name : tree_.ListNames()) {
            if (name != u"a.txt") {
                ASSERT_TRUE(SetFileAttributesW(Wide(tree_.Path(name)), FILE_ATTRIBUTE_NORMAL));
                tree_.Remove(name);
            }
        }
        tree_.WriteFile(kOutputName, kEarlierWorkbook);
        bool backBeforeEachTry = true;
        std::unique_ptr<HeldOpen> syncClient;
        SteppingSeam seam(
            [&](int attempt, std::u16string_view replaced, std::u16string_view backup) {
                backBeforeEachTry = backBeforeEachTry && tree_.ReadFile(kOutputName) == kEarlierWorkbook;
                if (attempt > row.failingTries || backup.empty()) {
                    return 0;
                }
                if (row.code != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
                    return row.code;
                }
                // As the system fails after it has moved the workbook to the backup name.
                const std::u16string from(replaced);
                const std::u16string to(backup);
                if (!MoveFileExW(Wide(from), Wide(to), 0)) {
                    return static_cast<int>(GetLastError());
                }
                if (row.back == Back::HeldBySyncClient) {
                    syncClient = std::make_unique<HeldOpen>(to, FILE_SHARE_READ);
                }
                return row.code;
            },
            [&](std::u16string_view from, std::u16string_view) {
                const bool back = IsTemporaryWorkbookName(from.substr(LastSeparator(from) + 1)) &&
                                  tree_.ReadFile(from.substr(tree_.Root().size() + 1)) == kEarlierWorkbook;
                if (back) {
                    return row.back == Back::Refused ? ERROR_WRITE_PROTECT : 0;
                }
                return row.newMayTakeTheName ? 0 : ERROR_WRITE_PROTECT;
            });
        ExportOptions options;
        options.placementSeam = &seam;
        options.heldFileWait = std::chrono::milliseconds(300);
        ExportOutcome outcome = ExportRoot(false, options);
        ASSERT_EQ(outcome.kind, row.kind) << testing::PrintToString(outcome);
        EXPECT_TRUE(backBeforeEachTry) << "the earlier workbook was not under its name before a try";
        if (row.code == ERROR_INVALID_PARAMETER) {
            EXPECT_EQ(seam.Tries(), 1) << "tried again for nothing";
        }
        switch (row.left) {
            case Left::Earlier:
                EXPECT_EQ(outcome.cause.code, row.code);
                EXPECT_EQ(tree_.ReadFile(kOutputName), kEarlierWorkbook);
                break;
            case Left::New:
                ExpectWorkbook(Output(), Rows());
                break;
            case Left::Both: {
                // The name stays empty; both workbooks lie beside it and the user is told where.
                EXPECT_FALSE(tree_.Exists(kOutputName));
                ASSERT_FALSE(outcome.cause.newFileLeftAt.empty());
                EXPECT_EQ(tree_.ReadFile(outcome.cause.earlierFileLeftAt.substr(tree_.Root().size() + 1)),
                          kEarlierWorkbook);
                ExpectWorkbook(outcome.cause.newFileLeftAt, Rows());
                const std::u16string text = Text(ExportOutcomeText(outcome));
                EXPECT_NE(text.find(outcome.cause.newFileLeftAt.substr(tree_.Root().size() + 1)),
                          std::u16string::npos);
                EXPECT_NE(text.find(outcome.cause.earlierFileLeftAt.substr(tree_.Root().size() + 1)),
                          std::u16string::npos);
                continue;
            }
        }
        // A backup another program holds goes once it lets go; nothing else is left.
        if (syncClient) {
            syncClient->Close();
        }
        EXPECT_TRUE(Eventually([&] { return Untouched(tree_.ListNames()); }))
            << testing::PrintToString(tree_.ListNames());
    }
}

TEST_F(ExportHeldFileTest, FailsAtOnceWhereNoOtherProgramIsTheCause) {
    const struct {
        const char* what;
        bool folder;  // a folder of the workbook's name instead of a read-only workbook
    } rows[] = {{"a read-only workbook", false}, {"a folder of the workbook's name", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.folder) {
            ASSERT_TRUE(SetFileAttributesW(Wide(Output()), FILE_ATTRIBUTE_NORMAL));
            tree_.Remove(kOutputName);
            tree_.MakeFolder(kOutputName);
        } else {
            ASSERT_TRUE(SetFileAttributesW(Wide(Output()), FILE_ATTRIBUTE_READONLY));
        }
        SteppingSeam seam;
        ExportOptions options;
        options.placementSeam = &seam;
        ExportOutcome outcome = ExportRoot(false, options);
        ASSERT_EQ(outcome.kind, ExportOutcomeKind::WriteFailed) << testing::PrintToString(outcome);
        EXPECT_EQ(outcome.cause.code, ERROR_ACCESS_DENIED);
        EXPECT_EQ(seam.Tries(), 1) << "tried again for nothing";
        EXPECT_EQ(tree_.ListNames(), Untouched());
    }
}

TEST_F(ExportHeldFileTest, WaitsOutAScannerThatHoldsTheNewWorkbookForAMoment) {
    for (bool earlier : {true, false}) {
        SCOPED_TRACE(earlier ? "over an earlier workbook" : "without an earlier workbook");
        if (!earlier) {
            tree_.Remove(kOutputName);
        }
        FileHolder scanner(tree_.Root(), kTemporaryPattern, 1500);
        ASSERT_TRUE(scanner.Started()) << "build the target morvane_file_holder";
        // The first try waits until the scanner has the new workbook open.
        bool held = false;
        SteppingSeam seam = FirstTryOnceHeld(scanner, held);
        ExportOptions options;
        options.placementSeam = &seam;
        const auto start = std::chrono::steady_clock::now();
        ExportOutcome outcome = ExportRoot(false, options);
        RecordProperty(earlier ? "replacing_ms" : "placing_ms", std::to_string(MillisecondsSince(start)));
        ASSERT_TRUE(held);
        ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
        EXPECT_GE(seam.Tries(), 2) << "the scanner's hold refused the first try";
        EXPECT_EQ(scanner.WaitForEnd(60000), 0);
        ExpectWorkbook(
            Output(),
            earlier ? Rows() : WorkbookExpectation::SingleSheet({FileRow(u"a.txt", u"a", u"txt", u"0KB")}));
        EXPECT_EQ(tree_.ListNames(), Untouched());
    }
}

TEST_F(ExportHeldFileTest, KeepsTheEarlierWorkbookWhenAScannerHoldsTheNewOneLongerThanTheTries) {
    FileHolder scanner(tree_.Root(), kTemporaryPattern, 4000);
    ASSERT_TRUE(scanner.Started()) << "build the target morvane_file_holder";
    bool held = false;
    SteppingSeam seam = FirstTryOnceHeld(scanner, held);
    ExportOptions options;
    options.placementSeam = &seam;
    options.heldFileWait = std::chrono::milliseconds(1000);
    ExportOutcome outcome = ExportRoot(false, options);
    ASSERT_TRUE(held);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::WriteFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.code, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(outcome.cause.path, Output());
    EXPECT_EQ(tree_.ReadFile(kOutputName), kEarlierWorkbook);
    // The new workbook cannot go while the scanner holds it without sharing its deletion; it goes once
    // the scanner lets go.
    EXPECT_EQ(scanner.WaitForEnd(60000), 0);
    EXPECT_TRUE(Eventually([&] { return Untouched(tree_.ListNames()); }))
        << testing::PrintToString(tree_.ListNames());
    EXPECT_EQ(tree_.ReadFile(kOutputName), kEarlierWorkbook);
}

TEST_F(ExportHeldFileTest, CancelEndsTheWaitForAScannerAtOnce) {
    FileHolder scanner(tree_.Root(), kTemporaryPattern, 600000);
    ASSERT_TRUE(scanner.Started()) << "build the target morvane_file_holder";
    bool held = false;
    SteppingSeam seam = FirstTryOnceHeld(scanner, held);
    CancelToken cancel;
    ExportOptions options;
    options.placementSeam = &seam;
    options.cancel = &cancel;
    // The wait after the seventh try is 3.2 s: the cancel comes half a second into it. (Coming sooner,
    // during the try itself, it would end the export just as soon, but show less.)
    std::chrono::steady_clock::time_point cancelled;
    std::thread user([&] {
        if (seam.WaitForTry(7)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        cancelled = std::chrono::steady_clock::now();
        cancel.Set();
    });
    ExportOutcome outcome = ExportRoot(false, options);
    const auto ended = std::chrono::steady_clock::now();
    user.join();
    ASSERT_TRUE(held);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Cancelled) << testing::PrintToString(outcome);
    ASSERT_GE(seam.Tries(), 7);
    const auto afterCancel = std::chrono::duration_cast<std::chrono::milliseconds>(ended - cancelled);
    RecordProperty("cancel_to_end_ms", std::to_string(afterCancel.count()));
    EXPECT_LT(afterCancel, std::chrono::milliseconds(2000)) << "the wait did not end with the cancel";
    EXPECT_EQ(tree_.ReadFile(kOutputName), kEarlierWorkbook);
    scanner.End();
    EXPECT_TRUE(Eventually([&] { return Untouched(tree_.ListNames()); }))
        << testing::PrintToString(tree_.ListNames());
}

TEST_F(ExportWinTest, KeepsTheAttributesOfAReplacedWorkbook) {
    tree_.MakeFile(u"a.txt");
    tree_.WriteFile(kOutputName, "the earlier workbook");
    ASSERT_TRUE(SetFileAttributesW(Wide(Output()), FILE_ATTRIBUTE_HIDDEN));
    ExportOutcome outcome = Export(tree_.Root(), false);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    EXPECT_NE(tree_.ReadFile(kOutputName), "the earlier workbook");
    EXPECT_EQ(GetFileAttributesW(Wide(Output())) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"a.txt", kOutputName}));
}

TEST_F(ExportWinTest, WritesBeyondTheLibrarysPathLimit) {
    // The library converts the workbook's path into a buffer of 260 characters; the workbook is written
    // under a short path and moved into place all the same.
    const std::size_t target = 247;
    std::u16string relative(20, u'长');
    while (tree_.Root().size() + 1 + relative.size() + 21 < target) {
        relative.append(1, u'\\').append(20, u'长');
    }
    std::size_t rest = target - tree_.Root().size() - 1 - relative.size() - 1;
    relative.append(1, u'\\').append(rest, u'x');
    std::u16string folder = tree_.Path(relative);
    ASSERT_EQ(folder.size(), 247u);
    tree_.MakeFile(relative + u"\\a.txt");

    ExportOutcome outcome = Export(folder, true);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ExpectWorkbook(tree_.Path(relative + u"\\" + kOutputName),
                   WorkbookExpectation::SingleSheet({FileRow(relative + u"\\a.txt", u"a", u"txt", u"0KB")}));
    EXPECT_EQ(tree_.ListNames(relative), (std::vector<std::u16string>{u"a.txt", kOutputName}));
}

TEST_F(ExportWinTest, SkipsASubFolderThatAnotherProgramLocks) {
    tree_.MakeFile(u"a.txt");
    tree_.MakeFile(u"locked/b.txt");
    HeldOpen holder(tree_.Path(u"locked"));
    ASSERT_TRUE(holder.IsOpen());

    ExportOutcome outcome = Export(tree_.Root(), true);
    holder.Close();
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ASSERT_EQ(outcome.skippedFolders.size(), 1u);
    EXPECT_EQ(outcome.skippedFolders[0].path, tree_.Path(u"locked"));
    EXPECT_EQ(outcome.skippedFolders[0].code, ERROR_SHARING_VIOLATION);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet({FileRow(u"a.txt", u"a", u"txt", u"0KB")}));
}

// Changes the current folder for one test and puts the old one back (the tree cannot be removed while
// it is current).
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::u16string& folder) {
        wchar_t old[MAX_PATH];
        DWORD length = GetCurrentDirectoryW(MAX_PATH, old);
        old_.assign(old, length < MAX_PATH ? length : 0);
        changed_ = SetCurrentDirectoryW(Wide(folder)) != 0;
    }
    ~ScopedCurrentFolder() { SetCurrentDirectoryW(old_.c_str()); }
    bool Changed() const { return changed_; }

private:
    std::wstring old_;
    bool changed_ = false;
};

// A spare drive letter mapped to a folder for one test, through Wine's drive links (a link in the
// prefix's dosdevices folder, made by the Unix ln). Not mapped where that is impossible.
class ScopedDrive {
public:
    explicit ScopedDrive(const std::u16string& folder) {
        using UnixName = char*(CDECL*)(LPCWSTR);
        auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char prefix[MAX_PATH];
        DWORD prefixLength = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
        if (unixName == nullptr || prefixLength == 0 || prefixLength >= MAX_PATH) {
            return;
        }
        char* target = unixName(Wide(folder));
        if (target == nullptr) {
            return;
        }
        DWORD drives = GetLogicalDrives();
        for (char letter = 'y'; letter >= 'm'; --letter) {
            if ((drives & (1u << (letter - 'a'))) == 0) {
                link_ = std::string(prefix) + "/dosdevices/" + letter + ":";
                letter_ = static_cast<char16_t>(letter - 'a' + 'A');
                break;
            }
        }
        if (letter_ != 0 && !RunLn("-s " + std::string(target) + " " + link_)) {
            letter_ = 0;
        }
        HeapFree(GetProcessHeap(), 0, target);
    }
    ~ScopedDrive() {
        if (letter_ != 0) {
            RunLn("-f " + link_);
        }
    }
    // The drive's letter, 0 when it could not be mapped.
    char16_t Letter() const { return letter_; }

private:
    // Runs /bin/ln (or /bin/rm for "-f") and waits until the drive appears or goes.
    bool RunLn(const std::string& arguments) {
        bool removing = arguments.rfind("-f ", 0) == 0;
        std::string command = std::string(removing ? "/bin/rm " : "/bin/ln ") + arguments;
        std::wstring line(command.begin(), command.end());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        // A Unix process gives no exit code back under Wine: watch for the drive instead.
        std::wstring root{static_cast<wchar_t>(letter_), L':', L'\\'};
        for (int attempt = 0; attempt < 100; ++attempt) {
            bool present = GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES;
            if (present != removing) {
                return true;
            }
            Sleep(50);
        }
        return false;
    }

    std::string link_;
    char16_t letter_ = 0;
};

TEST_F(ExportWinTest, TakesABareDriveForItsRoot) {
    tree_.MakeFile(u"top.txt");
    tree_.MakeFile(u"elsewhere/other.txt");
    ScopedDrive drive(tree_.Root());
    if (drive.Letter() == 0) {
        GTEST_SKIP() << "no drive letter could be mapped (not under Wine, or no Unix ln)";
    }
    const std::u16string bare{drive.Letter(), u':'};
    // The current folder of that drive is elsewhere; the bare drive still means its root.
    ExportOutcome outcome;
    {
        ScopedCurrentFolder current(bare + u"\\elsewhere");
        ASSERT_TRUE(current.Changed());
        outcome = Export(bare, false);
    }
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ExpectWorkbook(tree_.Path(kOutputName),
                   WorkbookExpectation::SingleSheet(
                       {Row{u"top", bare + u"\\top.txt", u"txt", u"0KB", LocalTodayText()}}));
    // A drive root is never walked recursively, typed either way.
    EXPECT_EQ(Export(bare, true).kind, ExportOutcomeKind::NoFiles);
    EXPECT_EQ(Export(bare + u"\\", true).kind, ExportOutcomeKind::NoFiles);
}

// The folders are read many at once, yet the rows come in the order of a listing that reads one folder
// after another.
TEST_F(ExportWinTest, ListsTheCurrentFolderRecursivelyWithFullPathsInSerialOrder) {
    tree_.MakeFile(u"a.txt");
    tree_.MakeFile(u"sub/b.txt");
    for (char16_t outer = u'a'; outer < u'a' + 20; ++outer) {
        for (char16_t inner = u'a'; inner < u'a' + 15; ++inner) {
            tree_.MakeFile(
                std::u16string{u'd', outer, u'/', u'e', inner, u'/', u'f', u'.', u't', u'x', u't'});
        }
        tree_.MakeFile(std::u16string{u'd', outer, u'/', u'a', u'.', u't', u'x', u't'});
    }
    std::vector<std::u16string> serial;
    ASSERT_TRUE(SerialListing(tree_.Root(), serial));
    std::vector<Row> rows;
    for (const std::u16string& event : serial) {
        if (event.starts_with(u"F ")) {
            std::u16string path = event.substr(2);
            std::u16string name = path.substr(LastSeparator(path) + 1);
            rows.push_back(Row{name.substr(0, name.size() - 4), path, u"txt", u"0KB", LocalTodayText()});
        }
    }
    ASSERT_EQ(rows.size(), 2u + 20 * 16);

    ExportOutcome outcome;
    {
        ScopedCurrentFolder current(tree_.Root());
        ASSERT_TRUE(current.Changed());
        outcome = Export(u".", true);
    }
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    WorkbookExpectation expected = WorkbookExpectation::SingleSheet(std::move(rows));
    expected.anyOrder = false;
    ExpectWorkbook(Output(), expected);
}

TEST_F(ExportWinTest, RefusesToWalkAWholeDriveRecursively) {
    for (std::u16string root : {u"C:\\", u"C:"}) {
        EXPECT_EQ(Export(root, true).kind, ExportOutcomeKind::NoFiles) << Utf8(root);
    }
}

TEST_F(ExportWinTest, GivesRowsToNamesWithLoneSurrogates) {
    std::u16string name = u"bad" + std::u16string(1, 0xD800) + u".txt";
    HANDLE file = CreateFileW(Wide(tree_.Path(name)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        GTEST_SKIP() << "this file system cannot store a lone surrogate (Wine maps names to UTF-8)";
    }
    CloseHandle(file);
    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(
                                 {FileRow(u"bad\uFFFD.txt", u"bad\uFFFD", u"txt", u"0KB")}));
}

// Each export writes its cells on a thread that ends afterwards. Whatever the cell writing keeps for its
// thread must go at the thread's end without touching freed memory: the toolchain's thread-local
// storage is freed before the destructors of its objects run.
TEST_F(ExportWinTest, ThreadsThatWriteCellsEndWithoutHarmingTheHeapOrThePool) {
    constexpr int kThreads = 2000;
    // A few at a time, as the window's export and the listing threads overlap: memory one thread frees
    // at its end is then soon handed to another.
    constexpr int kAtOnce = 8;
    const std::int64_t freeBefore = CPoolMem::Instance().FreeBlockCount();
    const std::u16string path = tree_.Path(u"报告.final.docx");
    const FileRecord file{path, LastSeparator(path) + 1, 1500000, 0};
    std::atomic<int> written{0};
    for (int first = 0; first < kThreads; first += kAtOnce) {
        std::vector<std::thread> threads;
        for (int thread = first; thread < first + kAtOnce; ++thread) {
            threads.emplace_back([&, thread] {
                // The writer drops its workbook unwritten when it goes.
                WorkbookWriter writer(0);
                std::u16string path = tree_.Path(
                    u"cells" + std::u16string(1, static_cast<char16_t>(u'A' + thread % 26)) + u".xlsx");
                if (writer.Open(path, tree_.Root(), 100) && writer.Add(file) && writer.Add(file)) {
                    ++written;
                }
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
    EXPECT_EQ(written.load(), kThreads);
    EXPECT_NE(HeapValidate(GetProcessHeap(), 0, nullptr), FALSE);
    EXPECT_EQ(CPoolMem::Instance().FreeBlockCount(), freeBefore);
    EXPECT_EQ(tree_.ListNames(), std::vector<std::u16string>{});
}

}  // namespace
