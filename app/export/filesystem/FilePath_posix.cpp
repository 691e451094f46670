#include "app/export/filesystem/FilePath.h"

#include <string>

char16_t PathSeparator() {
    return u'/';
}

bool IsPathSeparator(char16_t unit) {
    return unit == u'/';
}

std::size_t LastSeparator(std::u16string_view path) {
    return path.rfind(u'/');
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string joined(folder);
    if (!folder.empty() && folder.back() != u'/') {
        joined += u'/';
    }
    joined += name;
    return joined;
}

bool IsRootForRecursiveWalk(std::u16string_view folder) {
    return !folder.empty() && folder.find_first_not_of(u'/') == std::u16string_view::npos;
}
