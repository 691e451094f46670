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

// Fills `error` with the system's refusal `code` of `operation` on `path`; the caller decides what
// follows from it.
void Record(DWORD code, const char* operation, std::u16string_view path, FileSystemError& error) {
    error.code = static_cast<int>(code);
    error.operation = operation;
    error.path = ReplaceLoneSurrogates(path);
    error.message = SystemErrorText(error.code);
}

bool Refused(DWORD code, const char* operation, std::u16string_view path, FileSystemError& error) {
    Record(code, operation, path, error);
    return false;
}

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
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

// One move of a file to a name no file has (forms are the system's), with write-through so that the
// new name is on the disk when it returns: ERROR_SUCCESS or the system's refusal (or `injected`, a
// refusal a test's seam chose).
DWORD MoveToFreeName(const std::u16string& from, const std::u16string& to, int injected, DWORD flags = 0) {
    if (injected != 0) {
        return static_cast<DWORD>(injected);
    }
    return MoveFileExW(Wide(from), Wide(to), MOVEFILE_WRITE_THROUGH | flags) ? ERROR_SUCCESS : GetLastError();
}

// The same, tried again while another program holds the file for as long as `limit`, whatever the
// cancel token says: it is only made to leave a workbook under its own name.
DWORD MoveToFreeNameWaiting(const std::u16string& from, const std::u16string& to,
                            std::u16string_view fromPath, std::u16string_view toPath,
                            std::chrono::milliseconds limit, const PlacementSeam* seam) {
    HeldFileRetry retry(nullptr, limit);
    for (;;) {
        const DWORD code = MoveToFreeName(from, to, seam == nullptr ? 0 : seam->BeforeMove(fromPath, toPath));
        if (code == ERROR_SUCCESS || !AnotherProgramMayCause(static_cast<int>(code), false) ||
            !retry.WaitForNextTry()) {
            return code;
        }
    }
}

enum class Try {
    Done,     // the new file has the name
    Refused,  // both files are where they were, for a reason another program may cause: try again
    Failed,   // both files are where they were, or (error.newFileLeftAt) the name was left empty
};

Try Refusal(DWORD code, const char* operation, std::u16string_view to, bool refusesForGood,
            FileSystemError& error) {
    Record(code, operation, to, error);
    return AnotherProgramMayCause(static_cast<int>(code), refusesForGood) ? Try::Refused : Try::Failed;
}

// The paths of one replacement, in their own and in the system's forms.
struct Replacement {
    std::u16string_view from, to, backup;
    SystemPath sourceForm, targetForm, backupForm;

    Replacement(std::u16string_view from_, std::u16string_view to_, std::u16string_view backup_)
        : from(from_), to(to_), backup(backup_), sourceForm(from_), targetForm(to_), backupForm(backup_) {}
    const std::u16string& Source() const { return sourceForm.Form(); }
    const std::u16string& Target() const { return targetForm.Form(); }
    const std::u16string& Backup() const { return backupForm.Form(); }
};

// ReplaceFileW has failed with ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the earlier file is under the backup
// name, the new one under its own, and the target's name is empty. Whatever happens here, that name is
// not left empty if a move can fill it, and neither file is removed while it is.
Try AfterEarlierMovedAside(const Replacement& paths, DWORD replaceCode, std::chrono::milliseconds limit,
                           FileSystemError& error, const PlacementSeam* seam) {
    // The earlier file goes back to its name: both are where they were before the try.
    const DWORD restored =
        MoveToFreeNameWaiting(paths.Backup(), paths.Target(), paths.backup, paths.to, limit, seam);
    if (restored == ERROR_SUCCESS) {
        return Refusal(replaceCode, "ReplaceFileW", paths.to, false, error);
    }
    // It cannot: the new, complete file takes the empty name instead, and the earlier one is no longer
    // needed.
    const DWORD placed =
        MoveToFreeNameWaiting(paths.Source(), paths.Target(), paths.from, paths.to, limit, seam);
    if (placed == ERROR_SUCCESS) {
        RemoveTemporaryFile(paths.backup);
        return Try::Done;
    }
    // Neither could take the name: both stay where they are, and the user is told where.
    Record(placed, "MoveFileExW", paths.to, error);
    error.newFileLeftAt = ReplaceLoneSurrogates(paths.from);
    error.earlierFileLeftAt = ReplaceLoneSurrogates(paths.backup);
    return Try::Failed;
}

// One try at putting the new file over an existing one. Each outcome of ReplaceFileW says where the two
// files are (with a backup name given):
//   success                            target = new, backup = earlier (removed now, or once let go)
//   ERROR_UNABLE_TO_REMOVE_REPLACED    target = earlier, source = new: nothing moved
//   ERROR_UNABLE_TO_MOVE_REPLACEMENT   target = earlier, source = new: nothing moved
//   ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 target empty, backup = earlier, source = new
//   any other error                    target = earlier, source = new: nothing moved
Try ReplaceOnce(const Replacement& paths, DWORD attributes, std::chrono::milliseconds limit,
                FileSystemError& error, const PlacementSeam* seam) {
    DWORD code =
        seam == nullptr ? 0 : static_cast<DWORD>(seam->BeforeTry(paths.to, paths.from, paths.backup));
    // A workbook another program holds open is refused before ReplaceFileW starts on it.
    if (code == 0 && IsHeldOpenElsewhere(paths.to, error)) {
        return Try::Refused;
    }
    if (code == 0 &&
        !ReplaceFileW(Wide(paths.Target()), Wide(paths.Source()), Wide(paths.Backup()),
                      REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        code = GetLastError();
    }
    switch (code) {
        case ERROR_SUCCESS: {
            // Not every implementation carries the attributes over (Wine's does not): set them again.
            const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                             FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
            SetFileAttributesW(Wide(paths.Target()), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
            RemoveTemporaryFile(paths.backup);
            return Try::Done;
        }
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return AfterEarlierMovedAside(paths, code, limit, error, seam);
        case ERROR_CALL_NOT_IMPLEMENTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
            // A file system that cannot replace left both files alone: the new one is moved over.
            if (!MoveFileExW(Wide(paths.Source()), Wide(paths.Target()),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                const DWORD moveCode = GetLastError();
                return Refusal(moveCode, "MoveFileExW", paths.to,
                               RefusesForGood(GetFileAttributesW(Wide(paths.Target()))), error);
            }
            return Try::Done;
        default:
            return Refusal(code, "ReplaceFileW", paths.to, RefusesForGood(attributes), error);
    }
}

// One try at putting the new file in place: over the earlier one, or under a name no file has.
Try MoveOverOnce(std::u16string_view from, std::u16string_view to, std::u16string_view backup,
                 std::chrono::milliseconds limit, const PlacementSeam* seam, FileSystemError& error) {
    const Replacement paths(from, to, backup);
    const DWORD attributes = GetFileAttributesW(Wide(paths.Target()));
    if (IsFile(attributes)) {
        return ReplaceOnce(paths, attributes, limit, error, seam);
    }
    // A file that took the name since it was looked at is replaced like any earlier workbook; a folder
    // there refuses.
    const DWORD code =
        MoveToFreeName(paths.Source(), paths.Target(), seam == nullptr ? 0 : seam->BeforeTry(to, from, u""),
                       MOVEFILE_REPLACE_EXISTING);
    if (code != ERROR_SUCCESS) {
        return Refusal(code, "MoveFileExW", to, RefusesForGood(GetFileAttributesW(Wide(paths.Target()))),
                       error);
    }
    return Try::Done;
}

// Opens the file at `path` for writing (sharing everything) and makes the system write its data to the
// disk before the file takes another name.
bool FlushToDisk(std::u16string_view path, FileSystemError& error) {
    const SystemPath file(path);
    HANDLE handle =
        CreateFileW(Wide(file.Form()), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return Refused(GetLastError(), "CreateFileW", path, error);
    }
    const bool flushed = FlushFileBuffers(handle) != 0;
    const DWORD code = GetLastError();
    CloseHandle(handle);
    return flushed || Refused(code, "FlushFileBuffers", path, error);
}

}  // namespace

bool MoveFileOver(std::u16string_view from, std::u16string_view to, std::u16string_view backup,
                  HeldFileRetry& retry, FileSystemError& error, const PlacementSeam* seam) {
    // The data is on the disk before the file takes the name: a power cut right after cannot leave the
    // name holding a file whose blocks were never written.
    if (!FlushToDisk(from, error)) {
        return false;
    }
    for (;;) {
        switch (MoveOverOnce(from, to, backup, retry.Limit(), seam, error)) {
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
            return Refused(code, "MoveFileExW", to, error);
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
    Record(code, "CreateFileW", path, error);
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
