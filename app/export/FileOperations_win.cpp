#include "app/export/FileOperations.h"

#include "app/export/FilePath.h"
#include "app/export/NameCoding.h"
#include "app/export/SystemErrorText.h"

#include <windows.h>

#include <string>

namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool Failed(const char* operation, std::u16string_view path, FileSystemError& error) {
    error.code = static_cast<int>(GetLastError());
    error.operation = operation;
    error.path = ReplaceLoneSurrogates(path);
    error.message = SystemErrorText(error.code);
    return false;
}

}  // namespace

bool MoveFileOver(std::u16string_view from, std::u16string_view to, FileSystemError& error) {
    std::u16string source = SystemPathForm(from);
    std::u16string target = SystemPathForm(to);
    DWORD attributes = GetFileAttributesW(Wide(target));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        // A file another program holds open is refused here, before ReplaceFileW: some implementations
        // leave a temporary file of their own behind when they fail on it.
        HANDLE replaced =
            CreateFileW(Wide(target), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
        if (replaced == INVALID_HANDLE_VALUE) {
            return Failed("CreateFileW", to, error);
        }
        CloseHandle(replaced);
        // ReplaceFileW keeps the replaced file's attributes and security for the new one.
        if (ReplaceFileW(Wide(target), Wide(source), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr)) {
            // Not every implementation carries the attributes over (Wine's does not): set them again.
            DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                       FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
            SetFileAttributesW(Wide(target), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
            return true;
        }
        DWORD code = GetLastError();
        // Only where the file system cannot replace (the old file is then untouched) is it moved over.
        if (code != ERROR_CALL_NOT_IMPLEMENTED && code != ERROR_INVALID_FUNCTION &&
            code != ERROR_NOT_SUPPORTED) {
            return Failed("ReplaceFileW", to, error);
        }
    }
    if (!MoveFileExW(Wide(source), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return Failed("MoveFileExW", to, error);
    }
    return true;
}

bool MoveFileAcross(std::u16string_view from, std::u16string_view to, FileSystemError& error) {
    std::u16string source = SystemPathForm(from);
    std::u16string target = SystemPathForm(to);
    if (!MoveFileExW(Wide(source), Wide(target), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
        return Failed("MoveFileExW", to, error);
    }
    return true;
}

bool LibraryCanTakePath(std::u16string_view path) {
    return path.size() < MAX_PATH && ReplaceLoneSurrogates(path) == path;
}

std::u16string ShortStagingFolder() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    std::u16string folder(reinterpret_cast<const char16_t*>(buffer), length);
    // Room for the workbook's temporary name and the library's own temporary files.
    return folder.size() < MAX_PATH - 64 && LibraryCanTakePath(folder) ? folder : std::u16string();
}

std::u16string UsableTemporaryFolder() {
    std::u16string folder = ShortStagingFolder();
    wchar_t probe[MAX_PATH + 1];
    if (folder.empty() || GetTempFileNameW(Wide(folder), L"mvr", 0, probe) == 0) {
        return {};
    }
    DeleteFileW(probe);
    return folder;
}

void RemoveFileQuietly(std::u16string_view path) {
    std::u16string text = SystemPathForm(path);
    DeleteFileW(Wide(text));
}

std::u16string LastSystemErrorText() {
    DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? SystemErrorText(static_cast<int>(code)) : std::u16string();
}

void ClearSystemError() {
    SetLastError(ERROR_SUCCESS);
}
