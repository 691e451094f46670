#pragma once

#include <string>
#include <string_view>

// What a failed libxlsxwriter call means for the user: the system's text for the real cause when the
// call left one, otherwise the library's text for `libraryError` without its guess at the cause (it
// names permissions for any failure to create the file, a too-long name or a full disk included).
std::u16string WorkbookErrorText(int libraryError, std::u16string_view systemText);
