#include "app/export/filesystem/AbsolutePath.h"

#include "app/export/filesystem/FilePath.h"

std::u16string ParentFolder(std::u16string_view path) {
    std::size_t separator = LastSeparator(path);
    if (separator == std::u16string_view::npos) {
        return {};
    }
    bool rootsOwn = separator == 0 || (separator == 2 && path[1] == u':');
    return std::u16string(path.substr(0, rootsOwn ? separator + 1 : separator));
}
