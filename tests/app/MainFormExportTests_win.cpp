#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/export/filesystem/CancelToken.h"
#include "app/export/filesystem/FileOperations.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/listing/FolderPrefetcher.h"
#include "app/main_form/BackgroundExport.h"
#include "app/main_form/MainFormLayout.h"
#include "tests/app/MainFormHarness.h"
#include "tests/app/ProcessRun.h"
#include "tests/app/TempTree.h"
#include "tests/app/TestClock.h"
#include "tests/app/WorkbookExpectation.h"

namespace {

// A folder with two files directly in it and one in a sub-folder.
class MainFormExport : public testing::Test {
protected:
    MainFormExport() {
        tree_.MakeFile(u"files/a.txt", 10);
        tree_.MakeFile(u"files/b.docx", 2000);
        tree_.MakeFile(u"files/sub/c.txt", 5);
        tree_.MakeFolder(u"empty");
        // A folder where the workbook should go: the workbook cannot be put in place.
        tree_.MakeFile(u"blocked/a.txt", 1);
        tree_.MakeFolder(u"blocked/文件清单_.xlsx");
    }

    std::u16string Status() const { return harness_.Text(STATUS_LABEL_ID); }
    int StatusPixels(COLORREF color) const { return CountPixels(harness_.Child(STATUS_LABEL_ID), color); }

    TempTree tree_;
    MainFormHarness harness_;
};

TEST_F(MainFormExport, TypedFolderIsExportedAndTheCountShowsInGreen) {
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    EXPECT_EQ(Status(), u"生成完毕,文件数量2个。");
    EXPECT_TRUE(tree_.Exists(u"files/文件清单_.xlsx"));
    EXPECT_GT(StatusPixels(STATUS_DONE_COLOR), 0);
    EXPECT_EQ(StatusPixels(STATUS_FAILURE_COLOR), 0);
    // A folder that takes the workbook is never asked about; without a taskbar button nothing is shown.
    EXPECT_EQ(harness_.saveDialogs.made, 0);
    EXPECT_EQ(harness_.taskbar.states, std::vector<TBPFLAG>{});
}

TEST_F(MainFormExport, GreenStatusIsALinkThatOpensTheWrittenWorkbook) {
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    ASSERT_EQ(Status(), u"生成完毕,文件数量2个。");
    EXPECT_EQ(harness_.StatusCursor(), LoadCursorW(nullptr, IDC_HAND));
    harness_.ClickStatus();
    EXPECT_EQ(harness_.shell.calls,
              (std::vector<RecordingShell::Call>{{u"open", tree_.Path(u"files") + u"\\文件清单_.xlsx"}}));
    EXPECT_EQ(Status(), u"生成完毕,文件数量2个。");
    EXPECT_GT(StatusPixels(STATUS_DONE_COLOR), 0);
}

TEST_F(MainFormExport, CtrlOOpensTheWorkbookWhereverTheFocusIs) {
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    const RecordingShell::Call opened{u"open", tree_.Path(u"files") + u"\\文件清单_.xlsx"};
    const struct {
        const char* what;
        int id;
    } rows[] = {
        {"生成EXCEL", GENERATE_BUTTON_ID},
        {"path box", PATH_BOX_ID},
        {"check box", SUBFOLDERS_CHECK_BOX_ID},
        {"选择文件夹", CHOOSE_FOLDER_BUTTON_ID},
        {"the form", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        harness_.shell.calls.clear();
        harness_.PressCtrlO(row.id);
        EXPECT_EQ(harness_.shell.calls, std::vector<RecordingShell::Call>{opened});
        EXPECT_EQ(harness_.Text(PATH_BOX_ID), tree_.Path(u"files"));  // the key typed nothing
    }
    // O without Ctrl is only a letter.
    harness_.shell.calls.clear();
    SendMessageW(harness_.Child(GENERATE_BUTTON_ID), WM_KEYDOWN, 'O', 1);
    EXPECT_EQ(harness_.shell.calls, std::vector<RecordingShell::Call>{});
}

TEST_F(MainFormExport, OnlyAGreenStatusIsALink) {
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    harness_.Type(tree_.Path(u"missing"));
    ASSERT_TRUE(harness_.Generate());
    ASSERT_EQ(Status(), u"目录错误");
    harness_.ClickStatus();
    harness_.PressCtrlO(GENERATE_BUTTON_ID);
    EXPECT_NE(harness_.StatusCursor(), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(harness_.shell.calls, std::vector<RecordingShell::Call>{});
    EXPECT_EQ(Status(), u"目录错误");

    // A green status cleared by a drop is no link either.
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    harness_.Drop(harness_.Window(), {tree_.Path(u"empty")});
    ASSERT_EQ(Status(), u"");
    harness_.ClickStatus();
    harness_.PressCtrlO(PATH_BOX_ID);
    EXPECT_EQ(harness_.shell.calls, std::vector<RecordingShell::Call>{});
}

TEST_F(MainFormExport, AWorkbookThatCannotBeOpenedTurnsTheStatusRed) {
    harness_.shell.failure = ERROR_NO_ASSOCIATION;
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    harness_.ClickStatus();
    EXPECT_EQ(Status(), u"无法打开文件清单_.xlsx");
    EXPECT_GT(StatusPixels(STATUS_FAILURE_COLOR), 0);
    EXPECT_EQ(StatusPixels(STATUS_DONE_COLOR), 0);
    EXPECT_TRUE(tree_.Exists(u"files/文件清单_.xlsx"));
    // The red text is no link.
    harness_.ClickStatus();
    EXPECT_EQ(harness_.shell.calls.size(), 1u);
}

TEST_F(MainFormExport, TickedCheckBoxTakesTheSubFoldersIn) {
    harness_.Click(SUBFOLDERS_CHECK_BOX_ID);
    EXPECT_EQ(SendMessageW(harness_.Child(SUBFOLDERS_CHECK_BOX_ID), BM_GETCHECK, 0, 0), BST_CHECKED);
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    EXPECT_EQ(Status(), u"生成完毕,文件数量3个。");
}

TEST_F(MainFormExport, FailuresShowTheirMessageInRed) {
    const struct {
        const char* what;
        std::u16string folder;
        std::u16string message;
    } rows[] = {
        {"missing folder", tree_.Path(u"missing"), u"目录错误"},
        {"a file, not a folder", tree_.Path(u"files/a.txt"), u"目录错误"},
        {"empty path box", u"", u"目录错误"},
        {"folder without files", tree_.Path(u"empty"), u"目录没有文件"},
        {"workbook cannot be written", tree_.Path(u"blocked"), u"生成失败,无法写入文件清单_.xlsx"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        harness_.Type(row.folder);
        ASSERT_TRUE(harness_.Generate());
        EXPECT_EQ(Status(), row.message);
        EXPECT_GT(StatusPixels(STATUS_FAILURE_COLOR), 0);
        EXPECT_EQ(StatusPixels(STATUS_DONE_COLOR), 0);
    }
    EXPECT_FALSE(tree_.Exists(u"empty/文件清单_.xlsx"));
}

TEST_F(MainFormExport, GreenAfterRedAndRedAfterGreen) {
    harness_.Type(tree_.Path(u"missing"));
    ASSERT_TRUE(harness_.Generate());
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    EXPECT_GT(StatusPixels(STATUS_DONE_COLOR), 0);
    EXPECT_EQ(StatusPixels(STATUS_FAILURE_COLOR), 0);
    harness_.Type(tree_.Path(u"empty"));
    ASSERT_TRUE(harness_.Generate());
    EXPECT_GT(StatusPixels(STATUS_FAILURE_COLOR), 0);
    EXPECT_EQ(StatusPixels(STATUS_DONE_COLOR), 0);
}

TEST_F(MainFormExport, PathBoxTextIsUsedExactlyAsTyped) {
    // A blank before the folder makes another name: nothing is trimmed.
    std::u16string typed = u" ";
    typed += tree_.Path(u"files");  // not " " + path: GCC 12 warns falsely (-Wrestrict) on that
    harness_.Type(typed);
    ASSERT_TRUE(harness_.Generate());
    EXPECT_EQ(Status(), u"目录错误");
}

TEST_F(MainFormExport, GenerateClearsTheStatusLineBeforeExporting) {
    harness_.Type(tree_.Path(u"missing"));
    ASSERT_TRUE(harness_.Generate());
    SetTextRecorder recorder(
        {{harness_.Child(STATUS_LABEL_ID), u"status"}, {harness_.Child(PATH_BOX_ID), u"path"}});
    ASSERT_TRUE(harness_.Generate());
    EXPECT_EQ(recorder.Entries(),
              (std::vector<std::u16string>{u"status=", u"status=正在生成…", u"status=目录错误"}));
}

// Holds a long export at three points, each until the test opens its gate: before the listing reads
// anything, after the first 256 files (one read), and before the workbook is put in place. A gate
// also opens when the test ends, so the export never outlives it.
class GatedExport : public ListingSeam, public PlacementSeam {
public:
    ~GatedExport() override {
        for (CancelToken& gate : gates_) {
            gate.Set();
        }
    }
    void Open(int gate) { gates_[gate].Set(); }

    int BeforeRead(std::u16string_view, bool opening) const override {
        gates_[opening ? 0 : 1].WaitFor(std::chrono::minutes(2));
        return 0;
    }
    int BeforeTry(std::u16string_view, std::u16string_view, std::u16string_view) const override {
        gates_[2].WaitFor(std::chrono::minutes(2));
        return 0;
    }

private:
    mutable CancelToken gates_[3];
};

// The taskbar button during an export held at its start: moving without a fraction, then its end.
TEST_F(MainFormExport, TaskbarShowsIndeterminateProgressThenClearsOrShowsTheError) {
    const struct {
        const char* what;
        const char16_t* folder;
        std::vector<TBPFLAG> atTheEnd;
    } rows[] = {
        {"done", u"files", {TBPF_INDETERMINATE, TBPF_NOPROGRESS}},
        {"failed", u"blocked", {TBPF_INDETERMINATE, TBPF_ERROR}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        MainFormHarness harness;
        GatedExport gates;
        harness.Form().SetExportSeams(&gates, &gates);
        harness.AnnounceTaskbarButton();
        harness.Click(SUBFOLDERS_CHECK_BOX_ID);
        harness.Type(tree_.Path(row.folder));
        harness.Click(GENERATE_BUTTON_ID);
        ASSERT_TRUE(harness.Form().IsExporting());
        EXPECT_EQ(harness.taskbar.states, std::vector<TBPFLAG>{TBPF_INDETERMINATE});
        for (int gate = 0; gate < 3; ++gate) {
            gates.Open(gate);
        }
        ASSERT_TRUE(harness.WaitForExport());
        EXPECT_EQ(harness.taskbar.states, row.atTheEnd);
        EXPECT_FALSE(harness.taskbar.calledFromAnotherThread);
        // The error stays until the window is next activated.
        SendMessageW(harness.Window(), WM_ACTIVATE, WA_ACTIVE, 0);
        EXPECT_EQ(harness.taskbar.states.back(), TBPF_NOPROGRESS);
    }
}

TEST_F(MainFormExport, WithoutATaskbarListTheButtonShowsNothingAndTheExportRunsAsEver) {
    harness_.taskbar.missing = true;
    harness_.AnnounceTaskbarButton();
    harness_.Type(tree_.Path(u"files"));
    ASSERT_TRUE(harness_.Generate());
    EXPECT_EQ(Status(), u"生成完毕,文件数量2个。");
    harness_.Type(tree_.Path(u"missing"));
    ASSERT_TRUE(harness_.Generate());
    EXPECT_EQ(Status(), u"目录错误");
    EXPECT_EQ(harness_.taskbar.states, std::vector<TBPFLAG>{});
    EXPECT_EQ(harness_.taskbar.values.size(), 0u);
}

// The folder the native step refusing_folder.py made before the tests: two files, and no new file may
// be created in it. Empty, with the reason, where this machine offers no way to make one.
std::u16string RefusingFolder(std::string& reason) {
    const std::filesystem::path folder = std::filesystem::absolute("refusing-folder");
    std::ifstream how(folder.string() + ".how");
    std::getline(how, reason);
    if (!std::filesystem::is_directory(folder) || reason.empty() || reason.rfind("none", 0) == 0) {
        reason = "no refusing folder: " + reason + " (the CTest step morvane_app_refusing_folder makes it)";
        return {};
    }
    return folder.u16string();
}

// Each entry of `folder` as "name:size", in name order.
std::vector<std::string> EntriesIn(const std::u16string& folder) {
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder))) {
        entries.push_back(EncodeUtf8(entry.path().filename().u16string()) + ":" +
                          std::to_string(entry.is_regular_file() ? entry.file_size() : 0));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST_F(MainFormExport, AFolderThatRefusesTheWorkbookAsksWhereToSaveItAndWritesThere) {
    std::string reason;
    const std::u16string folder = RefusingFolder(reason);
    if (folder.empty()) {
        GTEST_SKIP() << reason;
    }
    tree_.MakeFolder(u"elsewhere");
    const std::u16string chosen = tree_.Path(u"elsewhere") + u"\\报告.xlsx";
    const std::wstring chosenWide(chosen.begin(), chosen.end());
    FakeItem item(chosenWide.c_str());
    FakeDialog dialog;
    dialog.item = &item;
    dialog.otherResult = S_OK;
    harness_.saveDialogs.dialog = &dialog;
    const std::vector<std::string> before = EntriesIn(folder);
    harness_.AnnounceTaskbarButton();
    harness_.Type(folder);
    ASSERT_TRUE(harness_.Generate());

    EXPECT_EQ(dialog.shows, 1);
    EXPECT_EQ(dialog.showOwner, harness_.Window());
    EXPECT_EQ(dialog.title, L"保存文件清单");
    EXPECT_EQ(Status(), u"生成完毕,文件数量2个。");
    EXPECT_GT(StatusPixels(STATUS_DONE_COLOR), 0);
    ExpectWorkbook(chosen, WorkbookExpectation::SingleSheet({
                               {u"a", folder + u"\\a.txt", u"txt", u"3KB", LocalTodayText()},
                               {u"b", folder + u"\\b.txt", u"txt", u"5KB", LocalTodayText()},
                           }));
    EXPECT_EQ(EntriesIn(folder), before);
    const std::vector<std::string> written = EntriesIn(tree_.Path(u"elsewhere"));
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].rfind("报告.xlsx:", 0), 0u);  // nothing beside it: no temporary file left
    harness_.ClickStatus();
    EXPECT_EQ(harness_.shell.calls, (std::vector<RecordingShell::Call>{{u"open", chosen}}));
    EXPECT_EQ(harness_.taskbar.states.back(), TBPF_NOPROGRESS);
    EXPECT_EQ(dialog.references, 1u);
}

TEST_F(MainFormExport, CancellingTheSaveDialogWritesNothing) {
    std::string reason;
    const std::u16string folder = RefusingFolder(reason);
    if (folder.empty()) {
        GTEST_SKIP() << reason;
    }
    FakeItem item(L"C:\\never.xlsx");
    FakeDialog dialog;
    dialog.item = &item;
    dialog.otherResult = S_OK;
    dialog.showResult = HRESULT_FROM_WIN32(ERROR_CANCELLED);
    harness_.saveDialogs.dialog = &dialog;
    const std::vector<std::string> before = EntriesIn(folder);
    harness_.Type(folder);
    ASSERT_TRUE(harness_.Generate());
    EXPECT_EQ(dialog.shows, 1);
    EXPECT_EQ(Status(), u"已取消");
    EXPECT_GT(StatusPixels(STATUS_FAILURE_COLOR), 0);
    EXPECT_EQ(EntriesIn(folder), before);
    harness_.ClickStatus();
    EXPECT_EQ(harness_.shell.calls, std::vector<RecordingShell::Call>{});
}

TEST_F(MainFormExport, MorvaneExportStillFailsOnARefusingFolderAndNamesTheWayOut) {
    std::string reason;
    const std::u16string folder = RefusingFolder(reason);
    if (folder.empty()) {
        GTEST_SKIP() << reason;
    }
    const ProcessResult result = RunMorvaneExport({folder});
    ASSERT_TRUE(result.started) << "build the target morvane-export";
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, EncodeUtf8(u"生成失败,无法写入文件清单_.xlsx\n"));
    EXPECT_NE(result.errorOutput.find("-o FILE"), std::string::npos) << result.errorOutput;
    // Found before anything was listed: no progress of a listing.
    EXPECT_EQ(result.errorOutput.find("文件夹"), std::string::npos) << result.errorOutput;
}

TEST_F(MainFormExport, StatusShowsListingThenWritingThenSavingInOrder) {
    constexpr int kFiles = 300;  // more than one read of the listing takes
    for (int i = 0; i < kFiles; ++i) {
        tree_.MakeFile(u"slow/f" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                       std::u16string(1, static_cast<char16_t>(u'a' + i / 26)) + u".txt");
    }
    GatedExport gates;
    harness_.Form().SetExportSeams(&gates, &gates);
    harness_.Click(SUBFOLDERS_CHECK_BOX_ID);
    harness_.Type(tree_.Path(u"slow"));
    harness_.Click(GENERATE_BUTTON_ID);
    const std::u16string expected[] = {
        u"正在列出文件,已读取0个文件夹,已找到0个文件…",
        u"正在生成,已写入256个文件…",
        u"正在保存文件清单_.xlsx…",
    };
    for (int gate = 0; gate < 3; ++gate) {
        SCOPED_TRACE(gate);
        ASSERT_TRUE(PumpUntil([&] { return Status() == expected[gate]; }, MainFormHarness::kExportTimeoutMs))
            << "the status read " << EncodeUtf8(Status());
        gates.Open(gate);
    }
    ASSERT_TRUE(harness_.WaitForExport());
    EXPECT_EQ(Status(), u"生成完毕,文件数量300个。");
    EXPECT_GT(StatusPixels(STATUS_DONE_COLOR), 0);
}

// A folder of MORVANE_MANY_FILES empty files, made natively before the tests (make_many_files.py, the
// CTest step morvane_app_many_files); made here, slowly, when the tests run on their own.
class MainFormLongExport : public testing::Test {
protected:
    static constexpr int kFiles = MORVANE_MANY_FILES;

    static void SetUpTestSuite() {
        folder_ = new std::filesystem::path(std::filesystem::absolute("many-files"));
        std::filesystem::create_directories(*folder_);
        if (std::filesystem::exists(*folder_ / FileName(kFiles - 1))) {
            return;
        }
        for (int i = 0; i < kFiles; ++i) {
            std::ofstream{*folder_ / FileName(i)};
        }
    }
    static std::string FileName(int index) {
        char name[16];
        std::snprintf(name, sizeof name, "f%06d.txt", index);
        return name;
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    MainFormLongExport() {
        // An earlier workbook that a cancelled export must leave as it is.
        std::ofstream(Workbook(), std::ios::binary) << kEarlierWorkbook;
        harness_.Type(folder_->u16string());
    }
    ~MainFormLongExport() override { std::filesystem::remove(Workbook()); }

    static std::filesystem::path Workbook() { return *folder_ / u"文件清单_.xlsx"; }
    static std::string WorkbookBytes() {
        std::ifstream in(Workbook(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Files of the folder that are neither the listed files nor the workbook: temporary files.
    static std::vector<std::u16string> StrayFiles() {
        std::vector<std::u16string> stray;
        for (const auto& entry : std::filesystem::directory_iterator(*folder_)) {
            const std::u16string name = entry.path().filename().u16string();
            if (name != u"文件清单_.xlsx" && !(name.size() == 11 && name[0] == u'f')) {
                stray.push_back(name);
            }
        }
        return stray;
    }

    std::u16string Status() const { return harness_.Text(STATUS_LABEL_ID); }
    bool InputsEnabled() const {
        return IsWindowEnabled(harness_.Child(PATH_BOX_ID)) &&
               IsWindowEnabled(harness_.Child(SUBFOLDERS_CHECK_BOX_ID)) &&
               IsWindowEnabled(harness_.Child(CHOOSE_FOLDER_BUTTON_ID));
    }
    // Waits until the status line shows figures of the running export.
    bool WaitForProgress() { return WaitForProgress(harness_); }
    static bool WaitForProgress(MainFormHarness& harness) {
        return PumpUntil(
            [&harness] {
                return !harness.Form().IsExporting() ||
                       harness.Text(STATUS_LABEL_ID).find_first_of(u"0123456789") != std::u16string::npos;
            },
            MainFormHarness::kExportTimeoutMs);
    }

    static constexpr char kEarlierWorkbook[] = "the workbook of an earlier export";
    static inline std::filesystem::path* folder_ = nullptr;
    MainFormHarness harness_;
};

TEST_F(MainFormLongExport, TheWindowKeepsAnsweringAndShowsProgressWhileExporting) {
    // Another thread asks the window all along, as another program would.
    std::atomic<bool> stop{false};
    std::atomic<int> answered{0};
    std::atomic<int> unanswered{0};
    const HWND window = harness_.Window();
    std::thread asker([&] {
        while (!stop) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 500, &result) != 0) {
                ++answered;
            } else {
                ++unanswered;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    harness_.Type(u"");
    ASSERT_TRUE(harness_.Generate());  // "目录错误" in red
    harness_.Type(folder_->u16string());
    // The red of "目录错误" on the taskbar button goes once the user comes back to the window.
    SendMessageW(harness_.Window(), WM_ACTIVATE, WA_ACTIVE, 0);
    harness_.AnnounceTaskbarButton();
    SetTextRecorder recorder({{harness_.Child(STATUS_LABEL_ID), u"status"}});
    const auto started = std::chrono::steady_clock::now();
    harness_.Click(GENERATE_BUTTON_ID);

    EXPECT_TRUE(harness_.Form().IsExporting());
    EXPECT_EQ(harness_.Text(GENERATE_BUTTON_ID), u"取消");
    EXPECT_FALSE(InputsEnabled());
    // Progress is shown in the default colour, not in that of the outcome before.
    EXPECT_EQ(CountPixels(harness_.Child(STATUS_LABEL_ID), STATUS_FAILURE_COLOR), 0);
    std::vector<std::u16string> seen;
    const bool ended = PumpUntil(
        [&] {
            if (harness_.Form().IsExporting()) {
                seen.push_back(Status());
            }
            return !harness_.Form().IsExporting();
        },
        MainFormHarness::kExportTimeoutMs);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    stop = true;
    asker.join();
    ASSERT_TRUE(ended);

    EXPECT_EQ(unanswered, 0);
    EXPECT_GT(answered, 0);
    for (const std::u16string& status : seen) {
        ASSERT_EQ(status.rfind(u"正在", 0), 0u) << "while exporting the status read something else";
    }
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(),
                            [](const std::u16string& s) { return s.rfind(u"正在生成,已写入", 0) == 0; }));
    // Reports come every kExportProgressPeriod, never per file: the cleared line, the start, a report at
    // once and one each period, the final figures, and the outcome.
    const auto periods = elapsed / kExportProgressPeriod;
    EXPECT_LE(recorder.Entries().size(), static_cast<std::size_t>(periods) + 5);
    const std::string count = std::to_string(kFiles + 1);  // the earlier workbook is a file too
    EXPECT_EQ(Status(), u"生成完毕,文件数量" + std::u16string(count.begin(), count.end()) + u"个。");
    EXPECT_GT(CountPixels(harness_.Child(STATUS_LABEL_ID), STATUS_DONE_COLOR), 0);
    EXPECT_EQ(harness_.Text(GENERATE_BUTTON_ID), u"生成EXCEL");
    EXPECT_TRUE(InputsEnabled());
    // The taskbar button, told only changes however many reports came: moving, then nothing left.
    EXPECT_EQ(harness_.taskbar.states, (std::vector<TBPFLAG>{TBPF_INDETERMINATE, TBPF_NOPROGRESS}));
    EXPECT_EQ(harness_.taskbar.values.size(), 0u);
}

TEST_F(MainFormLongExport, CancelShowsRedCancelledAndLeavesTheEarlierWorkbook) {
    harness_.AnnounceTaskbarButton();
    harness_.Click(GENERATE_BUTTON_ID);
    ASSERT_TRUE(WaitForProgress());
    ASSERT_TRUE(harness_.Form().IsExporting()) << "the export ended before it could be cancelled";
    harness_.Click(GENERATE_BUTTON_ID);  // reads "取消"
    ASSERT_TRUE(harness_.WaitForExport());

    EXPECT_EQ(Status(), u"已取消");
    EXPECT_GT(CountPixels(harness_.Child(STATUS_LABEL_ID), STATUS_FAILURE_COLOR), 0);
    EXPECT_EQ(CountPixels(harness_.Child(STATUS_LABEL_ID), STATUS_DONE_COLOR), 0);
    EXPECT_EQ(harness_.taskbar.states, (std::vector<TBPFLAG>{TBPF_INDETERMINATE, TBPF_NOPROGRESS}));
    EXPECT_EQ(WorkbookBytes(), kEarlierWorkbook);
    EXPECT_EQ(StrayFiles(), std::vector<std::u16string>{});
    EXPECT_EQ(harness_.Text(GENERATE_BUTTON_ID), u"生成EXCEL");
    EXPECT_TRUE(InputsEnabled());
}

TEST_F(MainFormLongExport, InputsAreIgnoredWhileExporting) {
    harness_.Click(GENERATE_BUTTON_ID);
    ASSERT_TRUE(harness_.Form().IsExporting());
    // A drop would otherwise replace the path box's text and clear the status line.
    harness_.Drop(harness_.Window(), {folder_->parent_path().u16string()});
    EXPECT_EQ(harness_.Text(PATH_BOX_ID), folder_->u16string());
    EXPECT_EQ(Status().rfind(u"正在", 0), 0u);
    harness_.Click(GENERATE_BUTTON_ID);
    ASSERT_TRUE(harness_.WaitForExport());
}

TEST_F(MainFormLongExport, DestroyingTheFormMidExportStopsTheExportAndWaitsForIt) {
    auto other = std::make_unique<MainFormHarness>();
    other->Type(folder_->u16string());
    other->Click(GENERATE_BUTTON_ID);
    ASSERT_TRUE(WaitForProgress(*other));
    ASSERT_TRUE(other->Form().IsExporting());
    other.reset();
    // No wait: the export must be over once the form is gone.
    EXPECT_EQ(WorkbookBytes(), kEarlierWorkbook);
    EXPECT_EQ(StrayFiles(), std::vector<std::u16string>{});
}

TEST_F(MainFormLongExport, ClosingTheWindowCancelsAndClosesOnceTheExportEnded) {
    harness_.Click(GENERATE_BUTTON_ID);
    ASSERT_TRUE(WaitForProgress());
    ASSERT_TRUE(harness_.Form().IsExporting());
    const HWND window = harness_.Window();
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([window] { return !IsWindow(window); }, MainFormHarness::kExportTimeoutMs));
    EXPECT_FALSE(harness_.Form().IsExporting());
    EXPECT_EQ(WorkbookBytes(), kEarlierWorkbook);
    EXPECT_EQ(StrayFiles(), std::vector<std::u16string>{});
}

// The workbook open in Excel, which shares it for reading only.
class OpenInExcel {
public:
    explicit OpenInExcel(const std::filesystem::path& workbook)
        : handle_(CreateFileW(workbook.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr)) {}
    ~OpenInExcel() {
        if (IsOpen()) {
            CloseHandle(handle_);
        }
    }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

inline constexpr char16_t kWorkbookInUseText[] = u"生成失败,文件清单_.xlsx 已被其他程序打开,请关闭后重试";

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

TEST_F(MainFormLongExport, AWorkbookOpenInAnotherProgramIsReportedInRedBeforeListing) {
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(harness_.Generate());
    const long long normalMs = MillisecondsSince(start);
    ASSERT_EQ(Status().rfind(u"生成完毕", 0), 0u) << "the export to compare with";
    const std::string written = WorkbookBytes();

    OpenInExcel excel(Workbook());
    ASSERT_TRUE(excel.IsOpen());
    SetTextRecorder recorder({{harness_.Child(STATUS_LABEL_ID), u"status"}});
    start = std::chrono::steady_clock::now();
    ASSERT_TRUE(harness_.Generate());
    const long long heldMs = MillisecondsSince(start);
    RecordProperty("normal_ms", std::to_string(normalMs));
    RecordProperty("open_workbook_ms", std::to_string(heldMs));

    EXPECT_EQ(Status(), kWorkbookInUseText);
    EXPECT_GT(CountPixels(harness_.Child(STATUS_LABEL_ID), STATUS_FAILURE_COLOR), 0);
    EXPECT_EQ(CountPixels(harness_.Child(STATUS_LABEL_ID), STATUS_DONE_COLOR), 0);
    // Nothing listed, nothing written: no progress between the start and the message.
    EXPECT_EQ(recorder.Entries(),
              (std::vector<std::u16string>{u"status=", u"status=正在生成…",
                                           std::u16string(u"status=") + kWorkbookInUseText}));
    // Told once a passing hold (a scanner's) would have ended, about two seconds, however large the
    // folder: the recorder shows that nothing was listed.
    EXPECT_LT(heldMs, 8000) << "not told within about two seconds";
    EXPECT_EQ(WorkbookBytes(), written);
    EXPECT_EQ(StrayFiles(), std::vector<std::u16string>{});
}

TEST_F(MainFormLongExport, MorvaneExportReportsAWorkbookOpenInAnotherProgramAtOnce) {
    auto start = std::chrono::steady_clock::now();
    ProcessResult normal = RunMorvaneExport({folder_->u16string()});
    const long long normalMs = MillisecondsSince(start);
    ASSERT_TRUE(normal.started) << "build the target morvane-export";
    ASSERT_EQ(normal.exitCode, 0) << normal.errorOutput;
    const std::string written = WorkbookBytes();

    OpenInExcel excel(Workbook());
    ASSERT_TRUE(excel.IsOpen());
    start = std::chrono::steady_clock::now();
    ProcessResult held = RunMorvaneExport({folder_->u16string()});
    const long long heldMs = MillisecondsSince(start);
    RecordProperty("normal_ms", std::to_string(normalMs));
    RecordProperty("open_workbook_ms", std::to_string(heldMs));

    EXPECT_EQ(held.exitCode, 3);
    EXPECT_EQ(held.output, EncodeUtf8(std::u16string(kWorkbookInUseText) + u"\n"));
    // The system's reason, with the workbook's path, on standard error.
    EXPECT_NE(held.errorOutput.find(
                  EncodeUtf8(Workbook().u16string() + u": " + SystemErrorText(ERROR_SHARING_VIOLATION))),
              std::string::npos)
        << held.errorOutput;
    // Told once a passing hold (a scanner's) would have ended, about two seconds, with the start of a
    // process.
    EXPECT_LT(heldMs, 8000) << "not told within about two seconds";
    EXPECT_EQ(WorkbookBytes(), written);
    EXPECT_EQ(StrayFiles(), std::vector<std::u16string>{});
}

}  // namespace
