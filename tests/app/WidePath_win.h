#pragma once

#include "appsvc/Win32Api.h"

#include <string>

// A path for the file calls; a long one in its "\\?\" form, so tests can use folders of any length.
class Wide {
public:
    explicit Wide(const std::u16string& text) : text_(text.begin(), text.end()) {
        if (text_.size() >= MAX_PATH - 12 && text_.rfind(L"\\\\", 0) != 0) {
            text_ = L"\\\\?\\" + text_;
        }
    }
    operator const wchar_t*() const { return text_.c_str(); }

private:
    std::wstring text_;
};
