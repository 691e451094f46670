#include "app/export/ExportOutcomeText.h"

#include "app/export/filesystem/FilePath.h"

#include <string>

namespace {

// The workbook's name as the user knows it: "文件清单_.xlsx", or the file given with -o.
std::u16string WorkbookName(const ExportOutcome& outcome) {
    const std::u16string& path = outcome.cause.path;
    std::size_t separator = LastSeparator(path);
    std::u16string name = separator == std::u16string::npos ? path : path.substr(separator + 1);
    return name.empty() ? std::u16string(u"文件清单_.xlsx") : name;
}

}  // namespace

CWString ExportOutcomeText(const ExportOutcome& outcome) {
    CWString text;
    switch (outcome.kind) {
        case ExportOutcomeKind::DirectoryError:
            text.SetText(u"目录错误");
            break;
        case ExportOutcomeKind::NoFiles:
            text.SetText(u"目录没有文件");
            break;
        case ExportOutcomeKind::Done:
            text.Format(u"生成完毕,文件数量%lld个。", static_cast<long long>(outcome.fileCount));
            if (!outcome.skippedFolders.empty()) {
                text.AppendFormat(u"%lld个文件夹无法读取,已跳过。",
                                  static_cast<long long>(outcome.skippedFolders.size()));
            }
            break;
        case ExportOutcomeKind::WriteFailed:
        case ExportOutcomeKind::FolderRefused:
            text.SetText(u"生成失败,无法写入文件清单_.xlsx");
            break;
        case ExportOutcomeKind::WorkbookInUse:
            text.SetText(u"生成失败,");
            text.Append(WorkbookName(outcome).c_str());
            text.Append(u" 已被其他程序打开,请关闭后重试");
            break;
        case ExportOutcomeKind::ListingFailed:
            text.SetText(u"生成失败,无法读取目录");
            break;
        case ExportOutcomeKind::Cancelled:
            text.SetText(u"已取消");
            break;
    }
    return text;
}

bool IsExportSuccess(const ExportOutcome& outcome) {
    return outcome.kind == ExportOutcomeKind::Done;
}
