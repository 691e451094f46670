#include <windows.h>

#include <string_view>
#include <vector>

#include "runtime/PathOperations.h"

const PathStyle& NativePathStyle() {
    return kWindowsPathStyle;
}

// The module path is read into a buffer that grows until the path fits: a path cut at 260 code units
// would name the wrong directory.
bool GetProgramDirectory(CWString& out) {
    out.Empty();
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return false;
        }
        if (length < path.size()) {
            break;
        }
        if (path.size() >= 32768) {
            return false;
        }
        path.resize(path.size() * 2);
    }
    const std::u16string_view text(reinterpret_cast<const char16_t*>(path.data()));
    const std::size_t lastSeparator = text.rfind(u'\\');
    if (lastSeparator == std::u16string_view::npos) {
        return false;
    }
    out.SetUnits(text.data(), static_cast<std::int64_t>(lastSeparator) + 1);
    return true;
}

bool PathExists(const char16_t* path) {
    if (path == nullptr || path[0] == 0) {
        return false;
    }
    const CWString tested = PathWithoutTrailingSeparator(path);
    return GetFileAttributesW(reinterpret_cast<const wchar_t*>(tested.GetText())) != INVALID_FILE_ATTRIBUTES;
}
