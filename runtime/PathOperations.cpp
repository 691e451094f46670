#include "runtime/PathOperations.h"

#include <string>
#include <string_view>

namespace {

std::u16string_view ViewOf(const char16_t* text) {
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

CWString PathWithoutTrailingSeparator(const char16_t* path, const PathStyle& style) {
    const std::u16string_view text = ViewOf(path);
    CWString result;
    std::size_t length = text.size();
    if (length >= 2 && text[length - 1] == style.separator &&
        !(style.driveRoots && text[length - 2] == u':')) {
        --length;
    }
    result.SetUnits(text.data(), static_cast<std::int64_t>(length));
    return result;
}

CWString PathJoin(const char16_t* base, const char16_t* relative, const PathStyle& style) {
    const std::u16string_view baseText = ViewOf(base);
    const std::u16string_view relativeText = ViewOf(relative);
    const char16_t separator = style.separator;
    if (relativeText.empty()) {
        return CWString(base);
    }
    const bool absolute =
        relativeText[0] == separator || (style.driveRoots && relativeText.size() >= 3 &&
                                         relativeText[1] == u':' && relativeText[2] == separator);
    if (baseText.empty() || absolute) {
        return CWString(relative);
    }

    std::u16string joined(baseText);
    if (joined.back() != separator) {
        joined += separator;
    }
    joined += relativeText;

    // "\.\" -> "\", searching again from the same place so that runs of them collapse.
    const std::u16string currentDir{separator, u'.', separator};
    for (std::size_t at = joined.find(currentDir); at != std::u16string::npos;
         at = joined.find(currentDir, at)) {
        joined.erase(at, 2);
    }
    // "\seg\..\" -> "\": the dot-dot goes together with the segment before it.
    const std::u16string parentDir{separator, u'.', u'.', separator};
    for (std::size_t at = joined.find(parentDir); at != std::u16string::npos; at = joined.find(parentDir)) {
        const std::size_t segmentStart = at == 0 ? std::u16string::npos : joined.rfind(separator, at - 1);
        if (segmentStart == std::u16string::npos) {
            return CWString(relative);
        }
        joined.erase(segmentStart, at + 3 - segmentStart);
    }
    return CWString(joined.c_str());
}
