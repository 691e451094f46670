#include "app/export/ExportOutcomeText.h"

#include "app/export/filesystem/FilePath.h"

#include <string>

namespace {

std::u16string NameOf(const std::u16string& path) {
    std::size_t separator = LastSeparator(path);
    return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

// The workbook's name as the user knows it: "文件清单_.xlsx", or the file given with -o.
std::u16string WorkbookName(const ExportOutcome& outcome) {
    std::u16string name = NameOf(outcome.cause.path);
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
            if (!outcome.truncatedCells.empty()) {
                text.AppendFormat(u"%lld个单元格超过32767个字符,已截断。",
                                  static_cast<long long>(outcome.truncatedCells.size()));
            }
            break;
        case ExportOutcomeKind::WriteFailed:
            text.SetText(u"生成失败,无法写入");
            text.Append(WorkbookName(outcome).c_str());
            if (!outcome.cause.newFileLeftAt.empty()) {
                // Neither workbook could take the name: the user finds both beside it.
                text.Append(u"。新文件清单在");
                text.Append(NameOf(outcome.cause.newFileLeftAt).c_str());
                text.Append(u",原文件清单在");
                text.Append(NameOf(outcome.cause.earlierFileLeftAt).c_str());
            }
            break;
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
