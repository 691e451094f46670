#include "app/export/filesystem/FilePath.h"

char16_t PathSeparator() {
    return u'\\';
}

bool IsPathSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

std::size_t LastSeparator(std::u16string_view path) {
    return path.find_last_of(u"\\/");
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string joined(folder);
    bool bareDrive = folder.size() == 2 && folder[1] == u':';
    if (!folder.empty() && !IsPathSeparator(folder.back()) && !bareDrive) {
        joined += PathSeparator();
    }
    joined += name;
    return joined;
}

bool IsRootForRecursiveWalk(std::u16string_view folder) {
    return folder.size() < 4;
}
