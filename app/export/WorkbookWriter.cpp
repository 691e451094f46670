#include "app/export/WorkbookWriter.h"

#include "app/export/CurrentWorkbook.h"
#include "app/export/FileOperations.h"
#include "app/export/NameCoding.h"
#include "app/export/SystemErrorText.h"
#include "app/export/WorkbookRelease.h"
#include "runtime/CWConstString.h"

#include <cstdio>

namespace {

const char16_t* const kHeader[WorkbookWriter::kColumns] = {u"文件名", u"文件路径", u"文件后缀", u"文件大小",
                                                           u"创建时间"};

inline constexpr double kStemWidth = 20;
inline constexpr double kPathWidth = 150;
inline constexpr double kOtherWidth = 15;

}  // namespace

WorkbookWriter::~WorkbookWriter() {
    if (open_) {
        CloseOrFree(currentWorkbook, !sheets_.empty());
        currentWorkbook = nullptr;
        currentWorksheet = nullptr;
    }
}

bool WorkbookWriter::Fail(const char* operation, int libraryError) {
    failed_ = true;
    error_.operation = operation;
    error_.path = ReplaceLoneSurrogates(path_);
    error_.code = libraryError;
    error_.message = WorkbookErrorText(libraryError, LastSystemErrorText());
    return false;
}

bool WorkbookWriter::Open(std::u16string_view path, std::u16string_view temporaryFolder) {
    path_ = std::u16string(path);
    std::string utf8 = EncodeFileName(path_);
    std::string tmpdir = EncodeFileName(temporaryFolder);
    ClearSystemError();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.empty() ? nullptr : tmpdir.data();
    currentWorkbook = workbook_new_opt(utf8.c_str(), &options);
    currentWorksheet = nullptr;
    if (currentWorkbook == nullptr) {
        return Fail("workbook_new_opt", LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    open_ = true;
    return true;
}

bool WorkbookWriter::BeginSheet(int number) {
    if (!open_ || failed_) {
        return false;
    }
    char name[32];
    std::snprintf(name, sizeof name, "Sheet%d", number);
    currentWorksheet = workbook_add_worksheet(currentWorkbook, name);
    if (currentWorksheet == nullptr) {
        // The worksheet's temporary file could not be made (or memory ran out).
        return Fail("workbook_add_worksheet", LXW_ERROR_CREATING_TMPFILE);
    }
    sheets_.push_back(currentWorksheet);
    lxw_error result = worksheet_set_column(currentWorksheet, 0, 0, kStemWidth, nullptr);
    if (result == LXW_NO_ERROR) {
        result = worksheet_set_column(currentWorksheet, 1, 1, kPathWidth, nullptr);
    }
    if (result == LXW_NO_ERROR) {
        result = worksheet_set_column(currentWorksheet, 2, 4, kOtherWidth, nullptr);
    }
    if (result != LXW_NO_ERROR) {
        return Fail("worksheet_set_column", result);
    }
    CWConstString header[kColumns];
    const CWString* cells[kColumns];
    for (int column = 0; column < kColumns; ++column) {
        header[column] = CWConstString(kHeader[column]);
        cells[column] = &header[column];
    }
    return WriteRow(1, cells);
}

bool WorkbookWriter::WriteRow(int row, const CWString* const (&texts)[kColumns]) {
    if (!open_ || failed_ || currentWorksheet == nullptr) {
        return false;
    }
    for (int column = 0; column < kColumns; ++column) {
        lxw_error result = WriteCellText(column + 1, row, *texts[column]);
        if (result != LXW_NO_ERROR && result != LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED) {
            return Fail("worksheet_write_string", result);
        }
    }
    return true;
}

bool WorkbookWriter::Close() {
    if (!open_) {
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
    lxw_error result = CloseOrFree(currentWorkbook, !sheets_.empty());
    open_ = false;
    currentWorkbook = nullptr;
    currentWorksheet = nullptr;
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
