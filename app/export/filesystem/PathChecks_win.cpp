#include "app/export/filesystem/PathChecks.h"

#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

#include <string>

namespace {

DWORD AttributesOf(std::u16string_view path) {
    // A text with a NUL inside would name a different, shorter path.
    if (path.find(u'\0') != std::u16string_view::npos) {
        return INVALID_FILE_ATTRIBUTES;
    }
    const SystemPath form(path);
    return GetFileAttributesW(reinterpret_cast<const wchar_t*>(form.Form().c_str()));
}

}  // namespace

bool PathExists(std::u16string_view path) {
    if (path.empty()) {
        return false;
    }
    if (path.size() >= 2 && path.back() == u'\\' && path[path.size() - 2] != u':') {
        path.remove_suffix(1);
    }
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(std::u16string_view path) {
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
