#include "app/export/filesystem/FilePath.h"

#include <windows.h>

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

namespace {

// Below this length every call takes the plain path (a folder must leave room for an 8.3 name).
inline constexpr std::size_t kClassicLimit = MAX_PATH - 12;

}  // namespace

std::u16string SystemPathForm(std::u16string_view path) {
    if (path.size() < kClassicLimit || path.rfind(u"\\\\?\\", 0) == 0 ||
        path.find(u'\0') != std::u16string_view::npos) {
        return std::u16string(path);
    }
    std::u16string text(path);
    const wchar_t* input = reinterpret_cast<const wchar_t*>(text.c_str());
    DWORD size = GetFullPathNameW(input, 0, nullptr, nullptr);
    std::u16string full;
    for (int attempt = 0; size > 0 && attempt < 4; ++attempt) {
        full.assign(size, u'\0');
        DWORD length = GetFullPathNameW(input, size, reinterpret_cast<wchar_t*>(full.data()), nullptr);
        if (length > 0 && length < size) {
            full.resize(length);
            break;
        }
        full.clear();
        size = length;
    }
    if (full.empty()) {
        return text;
    }
    if (full.rfind(u"\\\\", 0) == 0) {
        return u"\\\\?\\UNC\\" + full.substr(2);  // \\server\share -> \\?\UNC\server\share
    }
    return u"\\\\?\\" + full;
}
