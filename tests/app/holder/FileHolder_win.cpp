// morvane_file_holder FOLDER PATTERN HOLD_MS READY_EVENT LOOK_EVENT: the other program of the Windows
// export tests. As a virus scanner, the search indexer or a sync client does with every new file, it
// waits for a file matching PATTERN (FindFirstFileW wildcards) to appear in FOLDER, opens it for reading
// as soon as it can (sharing reading and writing, not deletion), sets the named event READY_EVENT, holds
// the file for HOLD_MS milliseconds, closes it and ends. It looks again whenever the folder changes and
// whenever the named event LOOK_EVENT is set: a file its maker still has open unshared (the library
// writes the workbook so) can be opened once the maker closes it, which the system tells no one. Exit
// code 0 after holding, 2 when it could not open such a file within two minutes, 64 for wrong arguments.

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

inline constexpr DWORD kAppearanceTimeoutMs = 120000;

// The first file matching the pattern that can be opened now, or INVALID_HANDLE_VALUE.
HANDLE OpenMatch(const std::wstring& folder, const std::wstring& pattern) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return INVALID_HANDLE_VALUE;
    }
    HANDLE file = INVALID_HANDLE_VALUE;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            file = CreateFileW((folder + L"\\" + data.cFileName).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        }
    } while (file == INVALID_HANDLE_VALUE && FindNextFileW(find, &data));
    FindClose(find);
    return file;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        return 64;
    }
    const std::wstring folder = argv[1];
    const std::wstring pattern = argv[2];
    const DWORD holdMs = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]);
    HANDLE look = OpenEventW(SYNCHRONIZE, FALSE, argv[5]);
    // Watched before the first look, so that a file made in between still wakes the wait.
    HANDLE changes = FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (ready == nullptr || look == nullptr || changes == INVALID_HANDLE_VALUE) {
        return 64;
    }
    const ULONGLONG deadline = GetTickCount64() + kAppearanceTimeoutMs;
    HANDLE file = OpenMatch(folder, pattern);
    HANDLE wakers[] = {changes, look};
    while (file == INVALID_HANDLE_VALUE) {
        const ULONGLONG now = GetTickCount64();
        DWORD woken = now < deadline
                          ? WaitForMultipleObjects(2, wakers, FALSE, static_cast<DWORD>(deadline - now))
                          : WAIT_TIMEOUT;
        if (woken == WAIT_OBJECT_0 && !FindNextChangeNotification(changes)) {
            return 64;
        }
        if (woken != WAIT_OBJECT_0 && woken != WAIT_OBJECT_0 + 1) {
            return 2;
        }
        file = OpenMatch(folder, pattern);
    }
    FindCloseChangeNotification(changes);
    SetEvent(ready);
    Sleep(holdMs);  // the hold is what this program is for
    CloseHandle(file);
    CloseHandle(ready);
    CloseHandle(look);
    return 0;
}
