#pragma once

#include "app/export/ExportOptions.h"
#include "app/export/ExportOutcome.h"
#include "runtime/CWString.h"

// The export: lists the regular files of `folder` (with `includeSubfolders`, of the whole tree below
// it) and writes one row per file into "文件清单_.xlsx" in that folder, replacing an earlier one. The
// folder text is used exactly as given: no trimming, no removal of quotes.
//
// The workbook is first written to a temporary file beside it and moved into place only when complete,
// so a failed export never destroys an earlier workbook and leaves nothing behind (a temporary file that
// another program holds goes once it lets go). An earlier workbook that another program holds open is
// reported before the listing starts (WorkbookInUse); a replacement that another program refuses for a
// moment (a virus scanner, the search indexer) is tried again for about ten seconds, a wait that the
// cancel token ends at once.
ExportOutcome ExportFileList(const CWString& folder, bool includeSubfolders);
ExportOutcome ExportFileList(const CWString& folder, bool includeSubfolders, const ExportOptions& options);

// The workbook's path for a folder text: the text, one separator (even after a trailing one) and
// "文件清单_.xlsx".
CWString ExportOutputPath(const CWString& folder);
