#include "app/export/workbook/WorkbookErrorText.h"

#include "app/export/filesystem/NameCoding.h"

#include <xlsxwriter.h>

std::u16string WorkbookErrorText(int libraryError, std::u16string_view systemText) {
    if (!systemText.empty()) {
        return std::u16string(systemText);
    }
    std::u16string text = DecodeUtf8Lossy(lxw_strerror(static_cast<lxw_error>(libraryError)));
    constexpr std::u16string_view kGuess = u" Usually a permissions error.";
    std::size_t guess = text.find(kGuess);
    if (guess != std::u16string::npos) {
        text.erase(guess, kGuess.size());
    }
    return text;
}
