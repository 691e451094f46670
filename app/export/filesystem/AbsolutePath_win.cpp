#include "app/export/filesystem/AbsolutePath.h"

#include <windows.h>

#include <string>

namespace {

bool IsSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

bool IsDriveLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

// "X:\..." and "X:/...", and "\\server\share..." (also "\\?\..." and "\\.\...").
bool IsAbsolute(std::u16string_view text) {
    if (text.size() >= 3 && IsDriveLetter(text[0]) && text[1] == u':' && IsSeparator(text[2])) {
        return true;
    }
    return text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1]);
}

}  // namespace

std::u16string AbsolutePath(std::u16string_view text) {
    if (text.empty() || IsAbsolute(text) || text.find(u'\0') != std::u16string_view::npos) {
        return std::u16string(text);
    }
    if (text.size() == 2 && IsDriveLetter(text[0]) && text[1] == u':') {
        return std::u16string(text) + u'\\';
    }
    std::u16string relative(text);
    const wchar_t* input = reinterpret_cast<const wchar_t*>(relative.c_str());
    // The needed size includes the terminating NUL; the result may run to the long-path limit.
    DWORD size = GetFullPathNameW(input, 0, nullptr, nullptr);
    for (int attempt = 0; size > 0 && attempt < 4; ++attempt) {
        std::u16string full(size, u'\0');
        DWORD length = GetFullPathNameW(input, size, reinterpret_cast<wchar_t*>(full.data()), nullptr);
        if (length > 0 && length < size) {
            full.resize(length);
            return full;
        }
        size = length;  // the current folder changed meanwhile
    }
    return {};
}
