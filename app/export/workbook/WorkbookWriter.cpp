#include "app/export/workbook/WorkbookWriter.h"

#include "app/export/filesystem/FileOperations.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/workbook/CurrentWorkbook.h"
#include "app/export/workbook/WorkbookErrorText.h"
#include "app/export/workbook/WorkbookRelease.h"
#include "app/export/workbook/WriteCellText.h"
#include "runtime/CWConstString.h"

#include <cstdio>
#include <string>

WorkbookWriter::~WorkbookWriter() {
    Discard();
}

bool WorkbookWriter::Fail(const char* operation, int libraryError) {
    failed_ = true;
    error_.operation = operation;
    error_.path = ReplaceLoneSurrogates(path_);
    error_.code = libraryError;
    error_.message = WorkbookErrorText(libraryError, LastSystemErrorText());
    return false;
}

void WorkbookWriter::Forget() {
    workbook_ = nullptr;
    sheet_ = nullptr;
    sheets_.clear();
    RecordCurrentWorkbook(nullptr, nullptr);
}

bool WorkbookWriter::Open(std::u16string_view path, std::u16string_view temporaryFolder,
                          std::int64_t rowsPerSheet) {
    Discard();
    path_ = std::u16string(path);
    rowsPerSheet_ = rowsPerSheet > 0 ? rowsPerSheet : 1;
    rows_ = 0;
    truncated_.clear();
    failed_ = false;
    std::string utf8 = EncodeFileName(path_);
    std::string tmpdir = EncodeFileName(temporaryFolder);
    ClearSystemError();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.empty() ? nullptr : tmpdir.data();
    workbook_ = workbook_new_opt(utf8.c_str(), &options);
    RecordCurrentWorkbook(workbook_, nullptr);
    if (workbook_ == nullptr) {
        return Fail("workbook_new_opt", LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    return true;
}

bool WorkbookWriter::BeginSheet(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "Sheet%d", number);
    sheet_ = workbook_add_worksheet(workbook_, name);
    RecordCurrentWorkbook(workbook_, sheet_);
    if (sheet_ == nullptr) {
        // The worksheet's temporary file could not be made (or memory ran out).
        return Fail("workbook_add_worksheet", LXW_ERROR_CREATING_TMPFILE);
    }
    sheets_.push_back(sheet_);
    // Neighbouring columns of one width are set together.
    CWString header[kExportColumnCount];
    for (int first = 0, last = 0; first < kExportColumnCount; first = last + 1) {
        last = first;
        while (last + 1 < kExportColumnCount &&
               kExportColumns[last + 1].width == kExportColumns[first].width) {
            ++last;
        }
        lxw_error result =
            worksheet_set_column(sheet_, static_cast<lxw_col_t>(first), static_cast<lxw_col_t>(last),
                                 kExportColumns[first].width, nullptr);
        if (result != LXW_NO_ERROR) {
            return Fail("worksheet_set_column", result);
        }
    }
    for (int column = 0; column < kExportColumnCount; ++column) {
        header[column] = CWConstString(kExportColumns[column].header);
    }
    return WriteRow(0, header);
}

bool WorkbookWriter::WriteRow(std::int64_t row, CWString (&texts)[kExportColumnCount]) {
    for (int column = 0; column < kExportColumnCount; ++column) {
        if (FitCellText(texts[column])) {
            truncated_.push_back(TruncatedCell{static_cast<int>(sheets_.size()), row + 1, column});
        }
        lxw_error result = WriteCellText(sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                         texts[column], utf8_);
        if (result != LXW_NO_ERROR) {
            return Fail("worksheet_write_string", result);
        }
    }
    return true;
}

bool WorkbookWriter::Add(const FileRecord& file) {
    if (workbook_ == nullptr || failed_) {
        return false;
    }
    std::int64_t rowOnSheet = rows_ % rowsPerSheet_;
    if (rowOnSheet == 0 && !BeginSheet(static_cast<int>(rows_ / rowsPerSheet_ + 1))) {
        return false;
    }
    CWString cells[kExportColumnCount];
    for (int column = 0; column < kExportColumnCount; ++column) {
        cells[column] = kExportColumns[column].text(file, dates_);
    }
    if (!WriteRow(rowOnSheet + 1, cells)) {
        return false;
    }
    ++rows_;
    return true;
}

bool WorkbookWriter::Close() {
    if (workbook_ == nullptr) {
        return false;
    }
    // In constant_memory mode finished rows sit in the library's temporary files; a write error there
    // (a full disk) would otherwise only show as a silently shortened worksheet.
    bool rowsStored = true;
    for (lxw_worksheet* sheet : sheets_) {
        std::FILE* rows = sheet->optimize_tmpfile;
        if (rows != nullptr && (std::fflush(rows) != 0 || std::ferror(rows) != 0)) {
            rowsStored = false;
        }
    }
    ClearSystemError();
    lxw_error result = CloseOrFree(workbook_, !sheets_.empty());
    Forget();
    if (failed_) {
        return false;
    }
    if (!rowsStored) {
        return Fail("worksheet temporary file", LXW_ERROR_CREATING_TMPFILE);
    }
    if (result != LXW_NO_ERROR) {
        return Fail("workbook_close", result);
    }
    return true;
}

void WorkbookWriter::Discard() {
    if (workbook_ == nullptr) {
        return;
    }
    // The library frees a workbook without writing it, but leaves the worksheets' row files open.
    for (lxw_worksheet* sheet : sheets_) {
        if (sheet->optimize_tmpfile != nullptr) {
            std::fclose(sheet->optimize_tmpfile);
            sheet->optimize_tmpfile = nullptr;
            sheet->file = nullptr;
        }
    }
    lxw_workbook_free(workbook_);
    Forget();
}
