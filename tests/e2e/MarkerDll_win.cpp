// A DLL that only tells that it was loaded: on attaching to a process it creates "<its own path>.loaded".
// The end-to-end test copies it, under the names of system DLLs a program may load, into the folder of
// the programs, as a web page can drop a DLL into Downloads; a marker file then shows that a program
// took a DLL from its own folder instead of the system folder.
#include <windows.h>

#include <cwchar>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 16] = {};
        const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            std::wcscpy(path + length, L".loaded");
            HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (marker != INVALID_HANDLE_VALUE) {
                CloseHandle(marker);
            }
        }
    }
    return TRUE;
}
