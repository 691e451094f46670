#include "app/export/cells/ExportColumns.h"
#include "app/export/filesystem/CancelToken.h"
#include "app/export/filesystem/DeferredRemoval.h"
#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/HeldFileRetry.h"
#include "app/export/listing/FolderPrefetcher.h"
#include "app/export/workbook/TemporaryWorkbookName.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Row = WorkbookExpectation::Row;

TEST_F(ExportTest, WritesTheNameColumnsByTheirRules) {
    tree_.MakeFile(u"archive.tar.gz");
    tree_.MakeFile(u"README");
    tree_.MakeFile(u".gitignore");
    tree_.MakeFile(u"a.b.c");
    tree_.MakeFile(u"report.final.docx");

    ExportOutcome outcome = ExportRoot(false);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.fileCount, 5);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet({
                                 FileRow(u"archive.tar.gz", u"archive", u"gz", u"0KB"),
                                 FileRow(u"README", u"README", u"", u"0KB"),
                                 FileRow(u".gitignore", u"", u"gitignore", u"0KB"),
                                 FileRow(u"a.b.c", u"a", u"c", u"0KB"),
                                 FileRow(u"report.final.docx", u"report", u"docx", u"0KB"),
                             }));
}

TEST_F(ExportTest, WritesSizesInWholeThousandsOfBytes) {
    tree_.MakeFile(u"s999", 999);
    tree_.MakeFile(u"s1000", 1000);
    tree_.MakeFile(u"s1999", 1999);
    tree_.MakeFile(u"s1500000", 1500000);
    tree_.MakeFile(u"s5000000000", 5000000000);

    ASSERT_EQ(ExportRoot(false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet({
                                 FileRow(u"s999", u"s999", u"", u"0KB"),
                                 FileRow(u"s1000", u"s1000", u"", u"1KB"),
                                 FileRow(u"s1999", u"s1999", u"", u"1KB"),
                                 FileRow(u"s1500000", u"s1500000", u"", u"1500KB"),
                                 FileRow(u"s5000000000", u"s5000000000", u"", u"5000000KB"),
                             }));
}

TEST_F(ExportTest, WritesNamesInAnyScriptUnchanged) {
    const std::u16string names[] = {
        u"报告 第一季度.xlsx",   u"with  two spaces.txt", u" leading space", u"it's mine.doc",
        u"&amp; [x] {y} #1.xml", u"emoji 😀𝄞.png",         u"Ωmega.Σ",
    };
    std::vector<Row> rows;
    for (const std::u16string& name : names) {
        tree_.MakeFile(name, 2500);
        std::size_t dot = name.find(u'.');
        std::size_t lastDot = name.rfind(u'.');
        rows.push_back(FileRow(name, name.substr(0, dot),
                               lastDot == std::u16string::npos ? u"" : name.substr(lastDot + 1), u"2KB"));
    }
    ASSERT_EQ(ExportRoot(false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(rows));
}

TEST_F(ExportTest, WritesIntoAFolderWhosePathIsChinese) {
    const std::u16string folder = u"文件夹 资料/子目录 😀";
    tree_.MakeFile(folder + u"/报告.docx", 12000);
    tree_.MakeFile(folder + u"/深/表格.xlsx", 0);

    ExportOutcome outcome = Export(tree_.Path(folder), true);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ExpectWorkbook(tree_.Path(folder + u"/" + kOutputName),
                   WorkbookExpectation::SingleSheet({
                       FileRow(folder + u"/报告.docx", u"报告", u"docx", u"12KB"),
                       FileRow(folder + u"/深/表格.xlsx", u"表格", u"xlsx", u"0KB"),
                   }));
}

TEST_F(ExportTest, AcceptsATrailingSeparatorAndWritesBesideItTwice) {
    tree_.MakeFile(u"one.txt");
    std::u16string folder = tree_.Root() + PathSeparator();

    CWString text;
    text.SetText(folder.c_str());
    EXPECT_EQ(Text(ExportOutputPath(text)), tree_.Root() + PathSeparator() + PathSeparator() + kOutputName);

    ExportOutcome outcome = Export(folder, false);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    // The listed paths have a single separator all the same.
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet({FileRow(u"one.txt", u"one", u"txt", u"0KB")}));
    EXPECT_EQ(Export(folder, true).kind, ExportOutcomeKind::Done);
}

TEST_F(ExportTest, RefusesTextsThatNameNoFolder) {
    tree_.MakeFile(u"file.txt");
    const std::u16string texts[] = {
        u"",
        u"\"" + tree_.Root() + u"\"",
        tree_.Path(u"file.txt"),
        tree_.Path(u"missing"),
        u" " + tree_.Root(),
    };
    for (const std::u16string& text : texts) {
        for (bool recursive : {false, true}) {
            SCOPED_TRACE(Utf8(text) + (recursive ? " recursive" : ""));
            EXPECT_EQ(Export(text, recursive).kind, ExportOutcomeKind::DirectoryError);
        }
    }
    EXPECT_EQ(tree_.ListNames(), std::vector<std::u16string>{u"file.txt"});
}

TEST_F(ExportTest, FindsNoFilesInAFolderOfFoldersUnlessRecursive) {
    tree_.MakeFile(u"sub/inner.txt", 1000);
    tree_.MakeFolder(u"other/empty");

    EXPECT_EQ(ExportRoot(false).kind, ExportOutcomeKind::NoFiles);
    EXPECT_FALSE(tree_.Exists(kOutputName));

    ExportOutcome outcome = ExportRoot(true);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.fileCount, 1);
    ExpectWorkbook(Output(),
                   WorkbookExpectation::SingleSheet({FileRow(u"sub/inner.txt", u"inner", u"txt", u"1KB")}));
}

TEST_F(ExportTest, FindsNoFilesInEmptyFoldersEvenRecursively) {
    tree_.MakeFolder(u"a/b/c");
    tree_.MakeFolder(u"d");
    EXPECT_EQ(ExportRoot(true).kind, ExportOutcomeKind::NoFiles);
    EXPECT_EQ(ExportRoot(false).kind, ExportOutcomeKind::NoFiles);
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"a", u"d"}));
}

TEST_F(ExportTest, ListsTheWorkbookOfAnEarlierRunOnTheNextOne) {
    tree_.MakeFile(u"data.csv", 4000);
    ASSERT_EQ(ExportRoot(false).fileCount, 1);
    std::int64_t firstSize = static_cast<std::int64_t>(tree_.ReadFile(kOutputName).size());
    ASSERT_GT(firstSize, 0);

    ExportOutcome second = ExportRoot(false);
    ASSERT_EQ(second.kind, ExportOutcomeKind::Done);
    EXPECT_EQ(second.fileCount, 2);
    std::string units = std::to_string(firstSize / 1000) + "KB";
    ExpectWorkbook(
        Output(), WorkbookExpectation::SingleSheet({
                      FileRow(u"data.csv", u"data", u"csv", u"4KB"),
                      FileRow(kOutputName, u"文件清单_", u"xlsx", std::u16string(units.begin(), units.end())),
                  }));
    // The temporary file of neither run is left behind.
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"data.csv", kOutputName}));
}

TEST_F(ExportTest, WritesTheRowsOfATreeInPreOrder) {
    std::vector<Row> rows;
    for (std::u16string folder : {u"", u"a/", u"a/x/", u"a/x/deep/", u"b/", u"b/y/", u"c/"}) {
        for (std::u16string name : {u"1.txt", u"2.txt"}) {
            tree_.MakeFile(folder + name, 0);
            rows.push_back(FileRow(folder + name, name.substr(0, 1), u"txt", u"0KB"));
        }
    }
    tree_.MakeFolder(u"a/empty");

    ExportOutcome outcome = ExportRoot(true);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.fileCount, 14);
    WorkbookExpectation expected = WorkbookExpectation::SingleSheet(rows);
    expected.subtreesContiguous = true;
    if (PathSeparator() == u'/') {
        // The reader walks the same folders itself, in the file system's order.
        expected.preorderRoot = tree_.Root();
    }
    ExpectWorkbook(Output(), expected);
}

struct SheetCase {
    int files;
    std::int64_t rowsPerSheet;
    std::vector<int> sheetRows;
};

class ExportSheetsTest : public ExportTest, public testing::WithParamInterface<SheetCase> {};

TEST_P(ExportSheetsTest, ContinuesOnFurtherSheetsPastTheRowLimit) {
    const SheetCase& sheetCase = GetParam();
    std::vector<Row> rows;
    for (int i = 0; i < sheetCase.files; ++i) {
        std::string name = "file" + std::to_string(i) + ".dat";
        std::u16string wide(name.begin(), name.end());
        tree_.MakeFile(wide, 1000 * i);
        std::string size = std::to_string(i) + "KB";
        rows.push_back(
            FileRow(wide, wide.substr(0, wide.size() - 4), u"dat", std::u16string(size.begin(), size.end())));
    }
    ExportOptions options;
    options.dataRowsPerSheet = sheetCase.rowsPerSheet;
    ExportOutcome outcome = ExportRoot(false, options);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.fileCount, sheetCase.files);

    WorkbookExpectation expected;
    std::size_t next = 0;
    for (std::size_t sheet = 0; sheet < sheetCase.sheetRows.size(); ++sheet) {
        std::string name = "Sheet" + std::to_string(sheet + 1);
        WorkbookExpectation::Sheet expectedSheet{std::u16string(name.begin(), name.end()), {}};
        for (int row = 0; row < sheetCase.sheetRows[sheet]; ++row) {
            expectedSheet.rows.push_back(rows[next++]);
        }
        expected.sheets.push_back(expectedSheet);
    }
    ExpectWorkbook(Output(), expected);
}

INSTANTIATE_TEST_SUITE_P(RowLimits, ExportSheetsTest,
                         testing::Values(SheetCase{7, 3, {3, 3, 1}}, SheetCase{6, 3, {3, 3}},
                                         SheetCase{1, 1, {1}}, SheetCase{2, 1, {1, 1}},
                                         SheetCase{4, 5, {4}}));

// Keeps every report with the moment it came.
class RecordingObserver : public ExportObserver {
public:
    struct Report {
        std::chrono::steady_clock::time_point at;
        ExportProgress progress;
    };

    void OnProgress(const ExportProgress& progress) override {
        std::lock_guard<std::mutex> lock(mutex_);
        reports_.push_back(Report{std::chrono::steady_clock::now(), progress});
        reports_.back().progress.workbookName = {};
        names_.emplace_back(progress.workbookName);
        changed_.notify_all();
    }
    std::vector<Report> Reports() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return reports_;
    }
    std::vector<std::u16string> Names() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return names_;
    }
    // Waits until a report says that `rows` rows are written.
    bool WaitForRows(std::int64_t rows) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [&] {
            return !reports_.empty() && reports_.back().progress.rowsWritten >= rows;
        });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Report> reports_;
    std::vector<std::u16string> names_;
};

TEST_F(ExportTest, TellsTheObserverTheFinalCountsAndTheWorkbooksName) {
    tree_.MakeFile(u"a");
    tree_.MakeFile(u"sub/b");
    RecordingObserver observer;
    ExportOptions options;
    options.observer = &observer;
    ASSERT_EQ(ExportRoot(true, options).kind, ExportOutcomeKind::Done);
    const std::vector<RecordingObserver::Report> reports = observer.Reports();
    ASSERT_FALSE(reports.empty());
    const ExportProgress& last = reports.back().progress;
    EXPECT_EQ(last.phase, ExportPhase::Saving);
    EXPECT_EQ(last.foldersRead, 2);
    EXPECT_EQ(last.filesFound, 2);
    EXPECT_EQ(last.rowsWritten, 2);
    EXPECT_EQ(observer.Names().back(), kOutputName);
}

// A listing seam that stands in for a slow file server: every read of a folder takes `delay`, or less
// when `cancel` is set (a read that can be interrupted). It counts the reads under way.
class SlowFolders : public ListingSeam {
public:
    // Reads of `fast` take no time.
    SlowFolders(std::chrono::milliseconds delay, const CancelToken& cancel, std::u16string fast = {})
        : delay_(delay), cancel_(cancel), fast_(std::move(fast)) {}

    int BeforeRead(std::u16string_view path, bool) const override {
        if (path == fast_) {
            return 0;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++reading_;
            changed_.notify_all();
        }
        cancel_.WaitFor(delay_);
        std::lock_guard<std::mutex> lock(mutex_);
        --reading_;
        return 0;
    }
    bool WaitForReads(int count) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [&] { return reading_ >= count; });
    }

private:
    std::chrono::milliseconds delay_;
    const CancelToken& cancel_;
    const std::u16string fast_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable int reading_ = 0;
};

TEST_F(ExportTest, ReportsProgressAllAlongWhileSlowFoldersAreRead) {
    // Ten folders, one in the other, each read in 300 ms: no file comes for more than 3 s.
    std::u16string deepest;
    for (int depth = 0; depth < 10; ++depth) {
        deepest += (depth == 0 ? u"d" : u"/d") + std::u16string(1, static_cast<char16_t>(u'0' + depth));
    }
    tree_.MakeFile(deepest + u"/bottom.txt");
    const CancelToken never;
    SlowFolders slow(std::chrono::milliseconds(300), never);
    RecordingObserver observer;
    ExportOptions options;
    options.observer = &observer;
    options.listingSeam = &slow;
    ASSERT_EQ(ExportRoot(true, options).kind, ExportOutcomeKind::Done);

    const std::vector<RecordingObserver::Report> reports = observer.Reports();
    ASSERT_GE(reports.size(), 2u);
    std::int64_t folders = -1;
    int rises = 0;
    for (std::size_t i = 1; i < reports.size(); ++i) {
        EXPECT_LE(reports[i].at - reports[i - 1].at, std::chrono::milliseconds(300))
            << "after report " << i - 1;
        const ExportProgress& progress = reports[i].progress;
        EXPECT_GE(progress.foldersRead, reports[i - 1].progress.foldersRead);
        if (progress.phase == ExportPhase::Listing) {
            EXPECT_EQ(progress.filesFound, 0);
            rises += progress.foldersRead > folders ? 1 : 0;
            folders = progress.foldersRead;
        }
    }
    EXPECT_GE(rises, 5) << "the folders read should be seen rising while no file is found";
    EXPECT_EQ(reports.back().progress.foldersRead, 11);
    EXPECT_EQ(reports.back().progress.rowsWritten, 1);
}

// The threads of this process, as the system counts them (0 where it cannot be read).
std::size_t ThreadCount() {
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator task("/proc/self/task", error), end; !error && task != end;
         task.increment(error)) {
        ++count;
    }
    return error ? 0 : count;
}

TEST_F(ExportTest, CancelEndsEveryWaitAtOnceAndLeavesNoThread) {
    // Eight sub-folders, each read in a minute: the read-ahead threads are all in a read, and the
    // writer waits on an empty queue.
    for (char16_t name = u'a'; name < u'a' + 8; ++name) {
        tree_.MakeFile(std::u16string(1, name) + u"/file.txt");
    }
    CancelToken cancel;
    SlowFolders slow(std::chrono::minutes(1), cancel, tree_.Root());
    RecordingObserver observer;
    ExportOptions options;
    options.observer = &observer;
    options.listingSeam = &slow;
    options.cancel = &cancel;
    const std::size_t threadsBefore = ThreadCount();
    auto exported = std::async(std::launch::async, [&] { return ExportRoot(true, options).kind; });
    ASSERT_TRUE(slow.WaitForReads(4));
    const auto cancelled = std::chrono::steady_clock::now();
    cancel.Set();
    ASSERT_EQ(exported.wait_for(std::chrono::minutes(1)), std::future_status::ready);
    const auto took = std::chrono::steady_clock::now() - cancelled;
    EXPECT_EQ(exported.get(), ExportOutcomeKind::Cancelled);
    RecordProperty("cancel_to_return_us",
                   std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
    // Every thread of the export is joined before it returns; the bound is generous for a busy machine.
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_EQ(tree_.ListNames(),
              (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h"}));
}

// Holds the listing's second read of a folder until the export is cancelled: the rows of the first
// read (256 files) are written, and then the writer waits.
class HoldSecondRead : public ListingSeam {
public:
    int BeforeRead(std::u16string_view, bool opening) const override {
        if (!opening) {
            cancel.WaitFor(std::chrono::minutes(1));
        }
        return 0;
    }

    mutable CancelToken cancel;
};

TEST_F(ExportTest, CancelledPartWayKeepsTheEarlierWorkbookAndLeavesNoTemporaryFile) {
    std::vector<std::u16string> names = {kOutputName};
    for (int i = 0; i < 300; ++i) {
        std::string name = "f";  // not "f" + ...: GCC 12 warns falsely (-Wrestrict) on that
        name += std::to_string(i) + ".txt";
        names.emplace_back(name.begin(), name.end());
        tree_.MakeFile(names.back());
    }
    std::sort(names.begin(), names.end());
    tree_.WriteFile(kOutputName, "earlier workbook");
    RecordingObserver observer;
    HoldSecondRead seam;
    ExportOptions options;
    options.observer = &observer;
    options.cancel = &seam.cancel;
    options.listingSeam = &seam;
    auto exported = std::async(std::launch::async, [&] { return ExportRoot(true, options).kind; });
    ASSERT_TRUE(observer.WaitForRows(static_cast<std::int64_t>(FolderPrefetcher::kEntriesPerRead)));
    seam.cancel.Set();
    EXPECT_EQ(exported.get(), ExportOutcomeKind::Cancelled);
    // No row is written once the token is set.
    EXPECT_EQ(observer.Reports().back().progress.rowsWritten,
              static_cast<std::int64_t>(FolderPrefetcher::kEntriesPerRead));
    EXPECT_EQ(tree_.ReadFile(kOutputName), "earlier workbook");
    EXPECT_EQ(tree_.ListNames(), names);
}

TEST(TemporaryWorkbookName, IsRecognisedByItsExactForm) {
    const std::u16string temporary[] = {u"~文件清单_0123ABCD.tmp", u"~文件清单_deadbeef.tmp"};
    const std::u16string ordinary[] = {u"~文件清单_0123ABCG.tmp", u"~文件清单_0123ABC.tmp",
                                       u"~文件清单_0123ABCDE.tmp", u"~文件清单_0123ABCD.xlsx",
                                       u"文件清单_0123ABCD.tmp"};
    for (const std::u16string& name : temporary) {
        EXPECT_TRUE(IsTemporaryWorkbookName(name)) << Utf8(name);
    }
    for (const std::u16string& name : ordinary) {
        EXPECT_FALSE(IsTemporaryWorkbookName(name)) << Utf8(name);
    }
    const std::u16string made = TemporaryWorkbookPath(u"folder");
    EXPECT_TRUE(IsTemporaryWorkbookName(made.substr(LastSeparator(made) + 1))) << Utf8(made);
}

TEST_F(ExportTest, NeverListsATemporaryWorkbookNorRemovesALeftOverOne) {
    tree_.MakeFile(u"a.txt", 1000);
    tree_.WriteFile(u"~文件清单_0A1B2C3D.tmp", "left over by a killed export");
    tree_.MakeFile(u"sub/~文件清单_FFFFFFFF.tmp");
    tree_.MakeFile(u"sub/~文件清单_notahex.tmp");

    ExportOutcome outcome = ExportRoot(true);
    ASSERT_EQ(outcome.kind, ExportOutcomeKind::Done) << testing::PrintToString(outcome);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet({
                                 FileRow(u"a.txt", u"a", u"txt", u"1KB"),
                                 FileRow(u"sub/~文件清单_notahex.tmp", u"~文件清单_notahex", u"tmp", u"0KB"),
                             }));
    EXPECT_EQ(tree_.ReadFile(u"~文件清单_0A1B2C3D.tmp"), "left over by a killed export");
    EXPECT_EQ(tree_.ListNames(),
              (std::vector<std::u16string>{u"a.txt", u"sub", u"~文件清单_0A1B2C3D.tmp", kOutputName}));
}

// The cells come from the record alone: its file need not exist (a file that vanished after it was
// listed keeps the size and date the listing saw).
TEST(ExportColumnsTest, DefinesTheFiveColumnsInOrder) {
    const std::u16string headers[] = {u"文件名", u"文件路径", u"文件后缀", u"文件大小", u"创建时间"};
    const double widths[] = {20, 150, 15, 15, 15};
    ASSERT_EQ(kExportColumnCount, 5);
    const std::u16string path = JoinPath(JoinPath(u"folder", u"sub"), u"report.final.docx");
    FileRecord file{path, LastSeparator(path) + 1, 1999, 0};
    CreationDateTextCache dates(0);
    const std::u16string cells[] = {u"report", file.path, u"docx", u"1KB", u"1601年1月1日"};
    for (int column = 0; column < kExportColumnCount; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(kExportColumns[column].header, headers[column]);
        EXPECT_EQ(kExportColumns[column].width, widths[column]);
        EXPECT_EQ(Text(kExportColumns[column].text(file, dates)), cells[column]);
    }
}

TEST(CancelToken, SetWakesAWaitOnAnotherThreadAtOnce) {
    CancelToken token;
    const auto start = std::chrono::steady_clock::now();
    // A wait that did not wake would last the hour.
    auto waiter = std::async(std::launch::async, [&] { return token.WaitFor(std::chrono::hours(1)); });
    EXPECT_TRUE(token.Set());
    ASSERT_EQ(waiter.wait_for(std::chrono::minutes(1)), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::minutes(1));
}

TEST(CancelToken, SaysWhetherItWasSetAndStartsAgainWhenReset) {
    CancelToken token;
    EXPECT_FALSE(token.IsSet());
    EXPECT_FALSE(token.WaitFor(std::chrono::milliseconds(1)));
    EXPECT_TRUE(token.Set());
    EXPECT_FALSE(token.Set()) << "a second Ctrl-C is told apart from the first";
    EXPECT_TRUE(token.WaitFor(std::chrono::hours(1))) << "set already: no wait";
    token.Reset();
    EXPECT_FALSE(token.IsSet());
}

TEST(HeldFileRetry, WaitsTwiceAsLongAfterEachRefusal) {
    const struct {
        int refusals;
        long long milliseconds;
    } rows[] = {{1, 50}, {2, 100}, {3, 200}, {4, 400}, {5, 800}, {6, 1600}, {7, 3200}, {8, 6400}};
    for (const auto& row : rows) {
        EXPECT_EQ(HeldFileRetry::WaitAfter(row.refusals).count(), row.milliseconds) << row.refusals;
    }
    // Ten seconds hold eight tries after the first: 50 ms, ..., 3.2 s, and the rest of the ten.
    std::chrono::milliseconds total{0};
    int waits = 0;
    while (total + HeldFileRetry::WaitAfter(waits + 1) < kHeldFileWaitLimit) {
        total += HeldFileRetry::WaitAfter(++waits);
    }
    EXPECT_EQ(waits, 7);
    EXPECT_EQ(kHeldFileWaitLimit, std::chrono::seconds(10));
}

TEST(HeldFileRetry, GivesUpOnceItsTimeIsSpent) {
    const auto start = std::chrono::steady_clock::now();
    HeldFileRetry retry(nullptr, std::chrono::milliseconds(300));
    int waits = 0;
    while (retry.WaitForNextTry()) {
        ++waits;
    }
    // 50 ms, 100 ms and what is left of the 300 (fewer on a machine that wakes late).
    EXPECT_GE(waits, 1);
    EXPECT_LE(waits, 3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_FALSE(retry.Cancelled());
}

TEST(HeldFileRetry, DoesNotWaitOnceCancelled) {
    CancelToken cancel;
    HeldFileRetry retry(&cancel, std::chrono::hours(1));
    EXPECT_TRUE(retry.WaitForNextTry());
    cancel.Set();
    EXPECT_FALSE(retry.WaitForNextTry());
    EXPECT_TRUE(retry.Cancelled());
}

// The files a test's removal holds back: removed once the test lets them go.
std::atomic<bool> removalHeld{true};
std::atomic<int> removalAttempts{0};

bool TestRemoval(const std::u16string&) {
    ++removalAttempts;
    return !removalHeld;
}

TEST(DeferredRemoval, TriesAgainUntilTheHolderLetsGo) {
    DeferredRemoval removal(&TestRemoval);
    removal.Add(u"held.tmp");
    EXPECT_EQ(removal.WaitUntilDone(std::chrono::milliseconds(200)),
              std::vector<std::u16string>{u"held.tmp"});
    EXPECT_GE(removalAttempts, 1);
    removalHeld = false;
    EXPECT_EQ(removal.WaitUntilDone(std::chrono::minutes(1)), std::vector<std::u16string>{});
    // Once nothing is left its thread has ended; a later file starts it again.
    removalHeld = true;
    removal.Add(u"later.tmp");
    removalHeld = false;
    EXPECT_EQ(removal.WaitUntilDone(std::chrono::minutes(1)), std::vector<std::u16string>{});
}

TEST_F(ExportTest, CancelledKeepsTheEarlierWorkbookAndLeavesNoTemporaryFile) {
    tree_.MakeFile(u"a.txt");
    tree_.WriteFile(kOutputName, "earlier workbook");
    CancelToken cancel;
    cancel.Set();
    ExportOptions options;
    options.cancel = &cancel;
    for (bool recursive : {false, true}) {
        EXPECT_EQ(ExportRoot(recursive, options).kind, ExportOutcomeKind::Cancelled);
        EXPECT_EQ(tree_.ReadFile(kOutputName), "earlier workbook");
        EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"a.txt", kOutputName}));
    }
}

TEST_F(ExportTest, FailsToWriteWhenAFolderHasTheWorkbooksName) {
    tree_.MakeFile(u"a.txt");
    tree_.MakeFile(std::u16string(kOutputName) + u"/inside.txt");

    ExportOutcome outcome = ExportRoot(false);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::WriteFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.fileCount, 1);
    EXPECT_FALSE(outcome.cause.message.empty());
    EXPECT_EQ(outcome.cause.path, Output());
    // Nothing is left behind: no temporary workbook, the folder untouched.
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"a.txt", kOutputName}));
    EXPECT_EQ(tree_.ListNames(kOutputName), std::vector<std::u16string>{u"inside.txt"});
}

}  // namespace
