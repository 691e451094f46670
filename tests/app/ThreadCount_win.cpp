#include "tests/app/ThreadCount.h"

#include <windows.h>

#include <tlhelp32.h>

// A snapshot of the system's threads, of which those this process owns are counted.
std::size_t ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const DWORD process = GetCurrentProcessId();
    std::size_t count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL found = Thread32First(snapshot, &entry); found; found = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == process ? 1 : 0;
        entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
    return count;
}
