#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

namespace {

// Below this length every call takes the plain path (a folder must leave room for an 8.3 name).
inline constexpr std::size_t kClassicLimit = MAX_PATH - 12;

// The full path of `path` as GetFullPathNameW makes it, or empty.
std::u16string FullPath(const std::u16string& path) {
    const wchar_t* input = reinterpret_cast<const wchar_t*>(path.c_str());
    DWORD size = GetFullPathNameW(input, 0, nullptr, nullptr);
    std::u16string full;
    for (int attempt = 0; size > 0 && attempt < 4; ++attempt) {
        full.assign(size, u'\0');
        DWORD length = GetFullPathNameW(input, size, reinterpret_cast<wchar_t*>(full.data()), nullptr);
        if (length > 0 && length < size) {
            full.resize(length);
            return full;
        }
        size = length;
    }
    return {};
}

}  // namespace

SystemPath::SystemPath(std::u16string_view path) : form_(path) {
    if (path.size() < kClassicLimit || path.rfind(u"\\\\?\\", 0) == 0 ||
        path.find(u'\0') != std::u16string_view::npos) {
        return;
    }
    std::u16string full = FullPath(form_);
    if (full.empty()) {
        return;
    }
    if (full.rfind(u"\\\\", 0) == 0) {
        form_ = u"\\\\?\\UNC\\" + full.substr(2);  // \\server\share -> \\?\UNC\server\share
    } else {
        form_ = u"\\\\?\\" + full;
    }
}

// A "\\?\" form needs nothing kept open.
SystemPath::~SystemPath() = default;
