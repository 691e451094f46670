#include "app/export/cells/FileNameParts.h"

#include "app/export/filesystem/FilePath.h"

#include <string_view>

namespace {

std::u16string_view NamePart(const char16_t* path) {
    std::u16string_view text(path != nullptr ? path : u"");
    std::size_t separator = LastSeparator(text);
    return separator == std::u16string_view::npos ? text : text.substr(separator + 1);
}

CWString TextOf(std::u16string_view part) {
    CWString text;
    text.SetUnits(part.data(), static_cast<std::int64_t>(part.size()));
    return text;
}

}  // namespace

CWString NameStem(std::u16string_view name) {
    return TextOf(name.substr(0, name.find(u'.')));
}

CWString NameSuffix(std::u16string_view name) {
    std::size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? CWString() : TextOf(name.substr(dot + 1));
}

CWString FileNameStem(const char16_t* path) {
    return NameStem(NamePart(path));
}

CWString FileNameSuffix(const char16_t* path) {
    return NameSuffix(NamePart(path));
}
