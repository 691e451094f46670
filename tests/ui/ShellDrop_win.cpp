#include "tests/ui/ShellDrop_win.h"

#include <cstring>

#include <shlobj.h>

HDROP MakeDrop(const std::vector<std::u16string>& names) {
    // The list ends with an empty name; like the shell, end it with two NULs so that readers that look
    // one unit past an empty list stay inside it.
    std::size_t units = 2;
    for (const std::u16string& name : names) {
        units += name.size() + 1;
    }
    const std::size_t size = sizeof(DROPFILES) + units * sizeof(char16_t);
    const HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* out = reinterpret_cast<char16_t*>(reinterpret_cast<unsigned char*>(header) + sizeof(DROPFILES));
    for (const std::u16string& name : names) {
        std::memcpy(out, name.data(), name.size() * sizeof(char16_t));
        out += name.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
