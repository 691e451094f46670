#include "app/export/workbook/CellTextLimit.h"

#include <string>

namespace {

inline constexpr char16_t kEllipsis = u'…';

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

bool FitCellText(CWString& text) {
    const std::int64_t length = text.GetLength();
    if (length <= kCellTextLimit) {
        return false;
    }
    std::int64_t keptFrom = length - (kCellTextLimit - 1);
    // The second half of a pair without its first would be a lone surrogate.
    if (IsLowSurrogate(text.GetText()[keptFrom])) {
        ++keptFrom;
    }
    std::u16string fitted(1, kEllipsis);
    fitted.append(text.GetText() + keptFrom, static_cast<std::size_t>(length - keptFrom));
    text.SetUnits(fitted.data(), static_cast<std::int64_t>(fitted.size()));
    return true;
}
