#pragma once

#include "app/export/ExportOutcome.h"
#include "runtime/CWString.h"

// The message the main form and morvane-export show for an outcome: "目录错误", "目录没有文件",
// "生成完毕,文件数量N个。", "生成失败,无法写入文件清单_.xlsx",
// "生成失败,文件清单_.xlsx 已被其他程序打开,请关闭后重试" (with the name of the workbook's path in the cause,
// so the file given with -o where there is one), "生成失败,无法读取目录" or "已取消".
CWString ExportOutcomeText(const ExportOutcome& outcome);

// Done is shown in green, every other outcome in red.
bool IsExportSuccess(const ExportOutcome& outcome);
