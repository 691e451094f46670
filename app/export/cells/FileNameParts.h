#pragma once

#include "runtime/CWString.h"

#include <string_view>

// The two name columns of a file row, taken from the part of the full path after its last separator
// (all of it when there is none).

// Column A: that part cut before its first dot. "report.final.docx" gives "report"; a name that starts
// with a dot gives the empty text.
CWString FileNameStem(const char16_t* path);

// Column C: the text after the last dot of that part, without the dot; the empty text when it has none.
// "report.final.docx" gives "docx".
CWString FileNameSuffix(const char16_t* path);

// The same from the name alone, for a record that knows where its name starts.
CWString NameStem(std::u16string_view name);
CWString NameSuffix(std::u16string_view name);
