#include "app/export/filesystem/FolderRefusal.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

namespace {

// The answers of CreateFileW that stay for as long as the folder is as it is.
bool RefusesForGood(DWORD code) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_NETWORK_ACCESS_DENIED:
            return true;
        default:
            return false;
    }
}

bool CanReadFolderOf(std::u16string_view probe) {
    const std::size_t separator = LastSeparator(probe);
    // A drive's root keeps its separator: "C:" alone is the drive's current folder.
    const bool driveRoot = separator == 2 && probe[1] == u':';
    const SystemPath folder(probe.substr(0, driveRoot ? separator + 1 : separator));
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(folder.Form().c_str()), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

}  // namespace

// Deleted on close, the probe leaves nothing behind even when the process dies holding it.
bool FolderRefusesNewFiles(std::u16string_view probe, FileSystemError& error) {
    const SystemPath file(probe);
    HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(file.Form().c_str()), GENERIC_WRITE, 0, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    const DWORD code = GetLastError();
    if (!RefusesForGood(code) || !CanReadFolderOf(probe)) {
        return false;
    }
    error.code = static_cast<int>(code);
    error.operation = "CreateFileW";
    error.path = ReplaceLoneSurrogates(probe);
    error.message = SystemErrorText(error.code);
    return true;
}
