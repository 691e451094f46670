#include "app/export/filesystem/PathChecks.h"

#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemPath.h"

#include <sys/stat.h>
#include <string>

namespace {

bool StatusOf(std::u16string_view path, struct stat& status) {
    // A text with a NUL inside would name a different, shorter path.
    if (path.empty() || path.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    const SystemPath form(path);
    return stat(EncodeFileName(form.Form()).c_str(), &status) == 0;
}

}  // namespace

bool PathExists(std::u16string_view path) {
    if (path.size() >= 2 && path.back() == u'/') {
        path.remove_suffix(1);
    }
    struct stat status {};
    return StatusOf(path, status);
}

bool IsFolder(std::u16string_view path) {
    struct stat status {};
    return StatusOf(path, status) && S_ISDIR(status.st_mode);
}
