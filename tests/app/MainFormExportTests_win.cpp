#include <gtest/gtest.h>

#include "app/main_form/MainFormLayout.h"
#include "tests/app/MainFormHarness.h"
#include "tests/app/TempTree.h"

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
    harness_.Click(GENERATE_BUTTON_ID);
    EXPECT_EQ(Status(), u"生成完毕,文件数量2个。");
    EXPECT_TRUE(tree_.Exists(u"files/文件清单_.xlsx"));
    EXPECT_GT(StatusPixels(STATUS_DONE_COLOR), 0);
    EXPECT_EQ(StatusPixels(STATUS_FAILURE_COLOR), 0);
}

TEST_F(MainFormExport, TickedCheckBoxTakesTheSubFoldersIn) {
    harness_.Click(SUBFOLDERS_CHECK_BOX_ID);
    EXPECT_EQ(SendMessageW(harness_.Child(SUBFOLDERS_CHECK_BOX_ID), BM_GETCHECK, 0, 0), BST_CHECKED);
    harness_.Type(tree_.Path(u"files"));
    harness_.Click(GENERATE_BUTTON_ID);
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
        harness_.Click(GENERATE_BUTTON_ID);
        EXPECT_EQ(Status(), row.message);
        EXPECT_GT(StatusPixels(STATUS_FAILURE_COLOR), 0);
        EXPECT_EQ(StatusPixels(STATUS_DONE_COLOR), 0);
    }
    EXPECT_FALSE(tree_.Exists(u"empty/文件清单_.xlsx"));
}

TEST_F(MainFormExport, GreenAfterRedAndRedAfterGreen) {
    harness_.Type(tree_.Path(u"missing"));
    harness_.Click(GENERATE_BUTTON_ID);
    harness_.Type(tree_.Path(u"files"));
    harness_.Click(GENERATE_BUTTON_ID);
    EXPECT_GT(StatusPixels(STATUS_DONE_COLOR), 0);
    EXPECT_EQ(StatusPixels(STATUS_FAILURE_COLOR), 0);
    harness_.Type(tree_.Path(u"empty"));
    harness_.Click(GENERATE_BUTTON_ID);
    EXPECT_GT(StatusPixels(STATUS_FAILURE_COLOR), 0);
    EXPECT_EQ(StatusPixels(STATUS_DONE_COLOR), 0);
}

TEST_F(MainFormExport, PathBoxTextIsUsedExactlyAsTyped) {
    // A blank before the folder makes another name: nothing is trimmed.
    harness_.Type(u" " + tree_.Path(u"files"));
    harness_.Click(GENERATE_BUTTON_ID);
    EXPECT_EQ(Status(), u"目录错误");
}

TEST_F(MainFormExport, GenerateClearsTheStatusLineBeforeExporting) {
    harness_.Type(tree_.Path(u"missing"));
    harness_.Click(GENERATE_BUTTON_ID);
    SetTextRecorder recorder(
        {{harness_.Child(STATUS_LABEL_ID), u"status"}, {harness_.Child(PATH_BOX_ID), u"path"}});
    harness_.Click(GENERATE_BUTTON_ID);
    EXPECT_EQ(recorder.Entries(), (std::vector<std::u16string>{u"status=", u"status=目录错误"}));
}

}  // namespace
