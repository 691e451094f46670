#include "app/export/ExportOutcomeText.h"
#include "app/export/filesystem/FilePath.h"
#include "tests/app/AppPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportOutcomeText, GivesTheMessageOfEachOutcome) {
    struct {
        ExportOutcomeKind kind;
        std::int64_t count;
        std::u16string text;
        bool success;
        std::size_t skippedFolders = 0;
    } cases[] = {
        {ExportOutcomeKind::DirectoryError, 0, u"目录错误", false},
        {ExportOutcomeKind::NoFiles, 0, u"目录没有文件", false},
        {ExportOutcomeKind::Done, 1, u"生成完毕,文件数量1个。", true},
        {ExportOutcomeKind::Done, 3000000, u"生成完毕,文件数量3000000个。", true},
        // Still a success, in green: the other files are in the workbook.
        {ExportOutcomeKind::Done, 5, u"生成完毕,文件数量5个。2个文件夹无法读取,已跳过。", true, 2},
        {ExportOutcomeKind::WriteFailed, 12, u"生成失败,无法写入文件清单_.xlsx", false},
        {ExportOutcomeKind::ListingFailed, 0, u"生成失败,无法读取目录", false},
        {ExportOutcomeKind::Cancelled, 40, u"已取消", false},
        // The window offers another place; morvane-export says this.
        {ExportOutcomeKind::FolderRefused, 0, u"生成失败,无法写入文件清单_.xlsx", false},
    };
    for (const auto& row : cases) {
        ExportOutcome outcome;
        outcome.kind = row.kind;
        outcome.fileCount = row.count;
        outcome.skippedFolders.resize(row.skippedFolders);
        SCOPED_TRACE(KindName(row.kind));
        EXPECT_EQ(Text(ExportOutcomeText(outcome)), row.text);
        EXPECT_EQ(IsExportSuccess(outcome), row.success);
    }
}

TEST(ExportOutcomeText, NamesTheWorkbookThatCouldNotBeReplaced) {
    const struct {
        const char* what;
        ExportOutcomeKind kind;
        std::u16string path;
        std::u16string text;
    } cases[] = {
        {"in use, the ordinary workbook", ExportOutcomeKind::WorkbookInUse,
         JoinPath(JoinPath(u"folder", u"文件"), u"文件清单_.xlsx"),
         u"生成失败,文件清单_.xlsx 已被其他程序打开,请关闭后重试"},
        {"in use, the file given with -o", ExportOutcomeKind::WorkbookInUse,
         JoinPath(u"elsewhere", u"list.xlsx"), u"生成失败,list.xlsx 已被其他程序打开,请关闭后重试"},
        {"in use, no path", ExportOutcomeKind::WorkbookInUse, u"",
         u"生成失败,文件清单_.xlsx 已被其他程序打开,请关闭后重试"},
        {"not written, the ordinary workbook", ExportOutcomeKind::WriteFailed,
         JoinPath(JoinPath(u"folder", u"文件"), u"文件清单_.xlsx"), u"生成失败,无法写入文件清单_.xlsx"},
        {"not written, the file given with -o", ExportOutcomeKind::WriteFailed,
         JoinPath(u"elsewhere", u"清单 2024.xlsx"), u"生成失败,无法写入清单 2024.xlsx"},
        {"not written, no path", ExportOutcomeKind::WriteFailed, u"", u"生成失败,无法写入文件清单_.xlsx"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        ExportOutcome outcome;
        outcome.kind = row.kind;
        outcome.cause.path = row.path;
        EXPECT_EQ(Text(ExportOutcomeText(outcome)), row.text);
        EXPECT_FALSE(IsExportSuccess(outcome)) << "shown in red";
    }
}

}  // namespace
