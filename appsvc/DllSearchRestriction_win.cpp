#include "appsvc/DllSearchRestriction.h"

#include "appsvc/Win32Api.h"

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD directoryFlags);

}  // namespace

bool RestrictDllSearch() {
    // kernel32 is loaded in every process; asking for it by handle loads nothing.
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
        if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            return true;
        }
    }
    SetDllDirectoryW(L"");
    return false;
}
