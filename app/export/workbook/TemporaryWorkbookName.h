#pragma once

#include <string>
#include <string_view>

// The export writes its workbook under a temporary name beside the real one and renames it when
// complete: "~文件清单_", eight hexadecimal digits, ".tmp". Such a file is never listed, neither a running
// export's own nor one a killed export left behind.

// True for a name of that form.
bool IsTemporaryWorkbookName(std::u16string_view name);

// A path in `folder` with a name of that form that no file has yet (tried a few times; the last try is
// returned even if taken). Exports on several threads share the sequence of names.
std::u16string TemporaryWorkbookPath(std::u16string_view folder);
