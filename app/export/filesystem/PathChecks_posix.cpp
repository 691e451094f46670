#include "app/export/filesystem/PathChecks.h"

#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/NotFoundError.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/filesystem/SystemPath.h"

#include <sys/stat.h>
#include <cerrno>
#include <string>

namespace {

bool StatusOf(std::u16string_view path, struct stat& status, FileSystemError& error) {
    error = FileSystemError{};
    // A text with a NUL inside would name a different, shorter path.
    if (path.empty() || path.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    const SystemPath form(path);
    if (stat(EncodeFileName(form.Form()).c_str(), &status) == 0) {
        return true;
    }
    if (!IsNotFoundError(errno) && errno != ENAMETOOLONG) {
        error.code = errno;
        error.operation = "stat";
        error.path = ReplaceLoneSurrogates(path);
        error.message = SystemErrorText(error.code);
    }
    return false;
}

}  // namespace

bool PathExists(std::u16string_view path, FileSystemError& error) {
    if (path.size() >= 2 && path.back() == u'/') {
        path.remove_suffix(1);
    }
    struct stat status {};
    return StatusOf(path, status, error);
}

bool IsFolder(std::u16string_view path, FileSystemError& error) {
    struct stat status {};
    return StatusOf(path, status, error) && S_ISDIR(status.st_mode);
}
