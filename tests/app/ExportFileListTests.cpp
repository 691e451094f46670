#include "app/export/cells/ExportColumns.h"
#include "app/export/filesystem/CancelToken.h"
#include "app/export/filesystem/DeferredRemoval.h"
#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/HeldFileRetry.h"
#include "app/export/workbook/TemporaryWorkbookName.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
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

class CountingObserver : public ExportObserver {
public:
    void OnProgress(std::int64_t filesListed, std::int64_t rowsWritten) override {
        lastListed_ = filesListed;
        lastWritten_ = rowsWritten;
    }

    std::int64_t lastListed_ = -1;
    std::int64_t lastWritten_ = -1;
};

TEST_F(ExportTest, TellsTheObserverTheFinalCounts) {
    tree_.MakeFile(u"a");
    tree_.MakeFile(u"sub/b");
    CountingObserver observer;
    ExportOptions options;
    options.observer = &observer;
    ASSERT_EQ(ExportRoot(true, options).kind, ExportOutcomeKind::Done);
    EXPECT_EQ(observer.lastListed_, 2);
    EXPECT_EQ(observer.lastWritten_, 2);
}

// Sets the cancel flag once `after` rows are written, and counts the reports that follow.
class CancellingObserver : public ExportObserver {
public:
    explicit CancellingObserver(std::int64_t after) : after_(after) {}

    void OnProgress(std::int64_t, std::int64_t rowsWritten) override {
        if (cancel.IsSet()) {
            lastRows_ = rowsWritten;
        } else if (rowsWritten >= after_) {
            cancel.Set();
            lastRows_ = rowsWritten;
        }
    }

    CancelToken cancel;
    std::int64_t lastRows_ = -1;

private:
    std::int64_t after_;
};

TEST_F(ExportTest, CancelledPartWayKeepsTheEarlierWorkbookAndLeavesNoTemporaryFile) {
    std::vector<std::u16string> names = {kOutputName};
    for (int i = 0; i < 40; ++i) {
        std::string name = (i % 2 == 0 ? "sub/f" : "f") + std::to_string(i) + ".txt";
        tree_.MakeFile(std::u16string(name.begin(), name.end()));
        if (i % 2 == 1) {
            names.push_back(std::u16string(name.begin(), name.end()));
        }
    }
    names.push_back(u"sub");
    std::sort(names.begin(), names.end());
    tree_.WriteFile(kOutputName, "earlier workbook");
    for (bool recursive : {false, true}) {
        SCOPED_TRACE(recursive ? "recursive" : "flat");
        CancellingObserver observer(3);
        ExportOptions options;
        options.observer = &observer;
        options.cancel = &observer.cancel;
        options.progressInterval = 1;
        EXPECT_EQ(ExportRoot(recursive, options).kind, ExportOutcomeKind::Cancelled);
        // No row is written once the flag is set.
        EXPECT_EQ(observer.lastRows_, 3);
        EXPECT_EQ(tree_.ReadFile(kOutputName), "earlier workbook");
        EXPECT_EQ(tree_.ListNames(), names);
    }
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
    token.SetFromSignalHandler();
    EXPECT_TRUE(token.IsSet());
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
