#pragma once

#include "app/export/cells/CreationDateText.h"
#include "app/export/listing/FileRecord.h"
#include "runtime/CWString.h"

// The columns of the file list, in order: the one place a column is defined. Every worksheet gets the
// headers in row 1 and the widths (in characters); each file row gets the cells made from its record.
struct ExportColumn {
    const char16_t* header;
    double width;
    // The cell text of a file; `dates` carries the creation-date texts from row to row.
    CWString (*text)(const FileRecord& file, CreationDateTextCache& dates);
};

inline constexpr int kExportColumnCount = 5;

extern const ExportColumn kExportColumns[kExportColumnCount];
