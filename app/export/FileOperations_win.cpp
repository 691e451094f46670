#include "app/export/FileOperations.h"

#include "app/export/NameCoding.h"
#include "app/export/SystemErrorText.h"

#include <windows.h>

#include <string>

namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

bool MoveFileOver(std::u16string_view from, std::u16string_view to, FileSystemError& error) {
    std::u16string source(from);
    std::u16string target(to);
    if (!MoveFileExW(Wide(source), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error.code = static_cast<int>(GetLastError());
        error.operation = "MoveFileExW";
        error.path = ReplaceLoneSurrogates(to);
        error.message = SystemErrorText(error.code);
        return false;
    }
    return true;
}

void RemoveFileQuietly(std::u16string_view path) {
    std::u16string text(path);
    DeleteFileW(Wide(text));
}

std::u16string LastSystemErrorText() {
    DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? SystemErrorText(static_cast<int>(code)) : std::u16string();
}

void ClearSystemError() {
    SetLastError(ERROR_SUCCESS);
}
