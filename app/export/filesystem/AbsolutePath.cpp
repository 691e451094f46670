#include "app/export/filesystem/AbsolutePath.h"

#include "app/export/filesystem/FilePath.h"

CWString AbsolutePath(const CWString& text) {
    std::u16string absolute =
        AbsolutePath(std::u16string_view(text.GetText(), static_cast<std::size_t>(text.GetLength())));
    CWString result;
    result.SetUnits(absolute.data(), static_cast<std::int64_t>(absolute.size()));
    return result;
}

std::u16string ParentFolder(std::u16string_view path) {
    std::size_t separator = LastSeparator(path);
    if (separator == std::u16string_view::npos) {
        return {};
    }
    bool rootsOwn = separator == 0 || (separator == 2 && path[1] == u':');
    return std::u16string(path.substr(0, rootsOwn ? separator + 1 : separator));
}
