#include "app/export/filesystem/FileOperations.h"

#include "app/export/filesystem/DeferredRemoval.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

#include <string>

namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool Failed(DWORD code, const char* operation, std::u16string_view path, FileSystemError& error) {
    error.code = static_cast<int>(code);
    error.operation = operation;
    error.path = ReplaceLoneSurrogates(path);
    error.message = SystemErrorText(error.code);
    return false;
}

bool Failed(const char* operation, std::u16string_view path, FileSystemError& error) {
    return Failed(GetLastError(), operation, path, error);
}

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Exists(const std::u16string& path) {
    return GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES;
}

// True for a read-only file or a folder: what refuses access to a replacement for as long as it is
// there, whoever holds what.
bool RefusesForGood(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// One try at removing a file (a path in the system's form): true when it is gone or never will be,
// false while another program holds it without sharing its deletion.
bool RemovedOrBeyondReach(const std::u16string& path) {
    // DeleteFileW marks a file that others hold while sharing its deletion: it goes when they close it.
    return DeleteFileW(Wide(path)) || !AnotherProgramMayCause(static_cast<int>(GetLastError()), false);
}

// Process-wide: a held file is removed after the export that made it has ended.
DeferredRemoval& LaterRemovals() {
    static DeferredRemoval removals(&RemovedOrBeyondReach);
    return removals;
}

// After a failed try: the replaced file goes back to its own name if the try left it under the backup
// name. Waits for a holder of the backup like any other try, but not for the cancel token: an earlier
// workbook is never left under another name. False when it cannot be put back; the backup then stays.
bool PutBackup(const std::u16string& source, const std::u16string& target, const std::u16string& backup,
               std::u16string_view to, FileSystemError& error) {
    if (!Exists(backup)) {
        return true;
    }
    if (Exists(target)) {
        // The new workbook has the name after all: the backup is the earlier one, no longer needed.
        // Otherwise something else took the name meanwhile, and the backup is all that is left of it.
        if (Exists(source)) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return Failed("ReplaceFileW", to, error);
        }
        RemoveTemporaryFile(backup);
        return true;
    }
    HeldFileRetry retry(nullptr, kHeldFileWaitLimit);
    while (!MoveFileExW(Wide(backup), Wide(target), MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        if (!AnotherProgramMayCause(static_cast<int>(code), false) || !retry.WaitForNextTry()) {
            return Failed(code, "MoveFileExW", to, error);
        }
    }
    return true;
}

enum class Try {
    Done,
    Refused,  // for a reason another program may cause: a later try may succeed
    Failed,
};

Try Refusal(DWORD code, const char* operation, std::u16string_view to, bool refusesForGood,
            FileSystemError& error) {
    Failed(code, operation, to, error);
    return AnotherProgramMayCause(static_cast<int>(code), refusesForGood) ? Try::Refused : Try::Failed;
}

// The replaced file (with `attributes`) keeps its attributes and security for the new one, and waits
// under the backup name (beside it, so on the same volume or share) until the new one has its name.
// ERROR_SUCCESS once it has, or why not. The forms are the system's; `backup` is the backup's own path.
DWORD ReplaceOnce(const std::u16string& source, const std::u16string& target,
                  const std::u16string& backupForm, std::u16string_view backup, DWORD attributes) {
    if (!ReplaceFileW(Wide(target), Wide(source), Wide(backupForm), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr)) {
        return GetLastError();
    }
    // Not every implementation carries the attributes over (Wine's does not): set them again.
    DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    SetFileAttributesW(Wide(target), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    RemoveTemporaryFile(backup);
    return ERROR_SUCCESS;
}

Try MoveOverOnce(std::u16string_view from, std::u16string_view to, std::u16string_view backup,
                 const PlacementSeam* seam, FileSystemError& error) {
    const SystemPath sourceForm(from);
    const SystemPath targetForm(to);
    const SystemPath backupForm(backup);
    const std::u16string& source = sourceForm.Form();
    const std::u16string& target = targetForm.Form();
    const std::u16string& backupPath = backupForm.Form();
    const DWORD attributes = GetFileAttributesW(Wide(target));
    const bool replacing = IsFile(attributes);
    const DWORD injected = seam == nullptr ? 0 : seam->BeforeTry(to, from, replacing ? backup : u"");
    if (!replacing && injected != 0) {
        return Refusal(injected, "MoveFileExW", to, false, error);
    }
    if (replacing) {
        DWORD code = injected;
        if (code == 0) {
            // A workbook another program holds open is refused before ReplaceFileW starts on it.
            if (IsHeldOpenElsewhere(to, error)) {
                return Try::Refused;
            }
            code = ReplaceOnce(source, target, backupPath, backup, attributes);
            if (code == ERROR_SUCCESS) {
                return Try::Done;
            }
        }
        // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 (and whatever else left the name empty) has the earlier
        // workbook under the backup name.
        if (!PutBackup(source, target, backupPath, to, error)) {
            return Try::Failed;
        }
        if (!Exists(source) && Exists(target)) {
            return Try::Done;  // the failure came after the new workbook took its name
        }
        // Only where the file system cannot replace (the old file is then untouched) is it moved over.
        if (code != ERROR_CALL_NOT_IMPLEMENTED && code != ERROR_INVALID_FUNCTION &&
            code != ERROR_NOT_SUPPORTED) {
            return Refusal(code, "ReplaceFileW", to, RefusesForGood(attributes), error);
        }
    }
    if (!MoveFileExW(Wide(source), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        return Refusal(code, "MoveFileExW", to, RefusesForGood(GetFileAttributesW(Wide(target))), error);
    }
    return Try::Done;
}

}  // namespace

bool MoveFileOver(std::u16string_view from, std::u16string_view to, std::u16string_view backup,
                  HeldFileRetry& retry, FileSystemError& error, const PlacementSeam* seam) {
    for (;;) {
        switch (MoveOverOnce(from, to, backup, seam, error)) {
            case Try::Done:
                return true;
            case Try::Failed:
                return false;
            case Try::Refused:
                if (!retry.WaitForNextTry()) {
                    return false;
                }
                break;
        }
    }
}

bool MoveFileAcross(std::u16string_view from, std::u16string_view to, HeldFileRetry& retry,
                    FileSystemError& error) {
    const SystemPath source(from);
    const SystemPath target(to);
    while (!MoveFileExW(Wide(source.Form()), Wide(target.Form()),
                        MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        if (!AnotherProgramMayCause(static_cast<int>(code), false) || !retry.WaitForNextTry()) {
            return Failed(code, "MoveFileExW", to, error);
        }
    }
    return true;
}

bool AnotherProgramMayCause(int code, bool targetRefusesForGood) {
    switch (code) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return true;
        case ERROR_ACCESS_DENIED:
            // Also what a file gives while it waits to be deleted until another program closes it.
            return !targetRefusesForGood;
        default:
            return false;
    }
}

bool IsHeldOpenElsewhere(std::u16string_view path, FileSystemError& error) {
    const SystemPath file(path);
    if (!IsFile(GetFileAttributesW(Wide(file.Form())))) {
        return false;
    }
    HANDLE probe =
        CreateFileW(Wide(file.Form()), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return false;
    }
    DWORD code = GetLastError();
    if (code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION) {
        return false;
    }
    Failed(code, "CreateFileW", path, error);
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

void RemoveTemporaryFile(std::u16string_view path) {
    const SystemPath file(path);
    if (!RemovedOrBeyondReach(file.Form())) {
        LaterRemovals().Add(file.Form());
    }
}

std::vector<std::u16string> WaitForDeferredRemovals(std::chrono::milliseconds limit) {
    return LaterRemovals().WaitUntilDone(limit);
}

std::u16string LastSystemErrorText() {
    DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? SystemErrorText(static_cast<int>(code)) : std::u16string();
}

void ClearSystemError() {
    SetLastError(ERROR_SUCCESS);
}
