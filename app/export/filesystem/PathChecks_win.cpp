#include "app/export/filesystem/PathChecks.h"

#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/NotFoundError.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

#include <string>

namespace {

// Beyond the errors that say a path leads nowhere, these say that a typed text names nothing: a path
// the system cannot parse, one too long, a drive without a medium.
bool NamesNothing(DWORD code) {
    return IsNotFoundError(static_cast<int>(code)) || code == ERROR_BAD_PATHNAME ||
           code == ERROR_FILENAME_EXCED_RANGE || code == ERROR_NOT_READY;
}

DWORD AttributesOf(std::u16string_view path, FileSystemError& error) {
    error = FileSystemError{};
    // A text with a NUL inside would name a different, shorter path.
    if (path.find(u'\0') != std::u16string_view::npos) {
        return INVALID_FILE_ATTRIBUTES;
    }
    const SystemPath form(path);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(form.Form().c_str()));
    const DWORD code = GetLastError();
    if (attributes == INVALID_FILE_ATTRIBUTES && !NamesNothing(code)) {
        error.code = static_cast<int>(code);
        error.operation = "GetFileAttributesW";
        error.path = ReplaceLoneSurrogates(path);
        error.message = SystemErrorText(error.code);
    }
    return attributes;
}

}  // namespace

bool PathExists(std::u16string_view path, FileSystemError& error) {
    if (path.empty()) {
        error = FileSystemError{};
        return false;
    }
    if (path.size() >= 2 && path.back() == u'\\' && path[path.size() - 2] != u':') {
        path.remove_suffix(1);
    }
    return AttributesOf(path, error) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(std::u16string_view path, FileSystemError& error) {
    DWORD attributes = AttributesOf(path, error);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
