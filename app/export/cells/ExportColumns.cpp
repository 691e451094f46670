#include "app/export/cells/ExportColumns.h"

#include "app/export/cells/FileNameParts.h"
#include "app/export/cells/SizeText.h"
#include "runtime/CWConstString.h"

namespace {

CWString StemCell(const FileRecord& file, CreationDateTextCache&) {
    return NameStem(file.Name());
}

CWString PathCell(const FileRecord& file, CreationDateTextCache&) {
    // A view of the record's path, which outlives the row: no copy.
    return CWConstString(file.path.c_str());
}

CWString SuffixCell(const FileRecord& file, CreationDateTextCache&) {
    return NameSuffix(file.Name());
}

CWString SizeCell(const FileRecord& file, CreationDateTextCache&) {
    return SizeText(file.size);
}

CWString CreationDateCell(const FileRecord& file, CreationDateTextCache& dates) {
    return dates.Get(file.creationTime);
}

}  // namespace

const ExportColumn kExportColumns[kExportColumnCount] = {
    {u"文件名", 20, &StemCell},            // A: the name before its first dot
    {u"文件路径", 150, &PathCell},         // B: the full path as listed
    {u"文件后缀", 15, &SuffixCell},        // C: the name after its last dot
    {u"文件大小", 15, &SizeCell},          // D: whole thousands of bytes and "KB"
    {u"创建时间", 15, &CreationDateCell},  // E: the local creation date
};
