#include "app/export/ExportOutcomeText.h"
#include "tests/app/AppPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportOutcomeText, GivesTheMessageOfEachOutcome) {
    struct {
        ExportOutcomeKind kind;
        std::int64_t count;
        std::u16string text;
        bool success;
    } cases[] = {
        {ExportOutcomeKind::DirectoryError, 0, u"目录错误", false},
        {ExportOutcomeKind::NoFiles, 0, u"目录没有文件", false},
        {ExportOutcomeKind::Done, 1, u"生成完毕,文件数量1个。", true},
        {ExportOutcomeKind::Done, 3000000, u"生成完毕,文件数量3000000个。", true},
        {ExportOutcomeKind::WriteFailed, 12, u"生成失败,无法写入文件清单_.xlsx", false},
        {ExportOutcomeKind::ListingFailed, 0, u"生成失败,无法读取目录", false},
        {ExportOutcomeKind::Cancelled, 40, u"已取消", false},
    };
    for (const auto& row : cases) {
        ExportOutcome outcome;
        outcome.kind = row.kind;
        outcome.fileCount = row.count;
        SCOPED_TRACE(KindName(row.kind));
        EXPECT_EQ(Text(ExportOutcomeText(outcome)), row.text);
        EXPECT_EQ(IsExportSuccess(outcome), row.success);
    }
}

}  // namespace
