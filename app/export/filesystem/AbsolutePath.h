#pragma once

#include <string>
#include <string_view>

// The folder text the export works with. A text typed as an absolute path is returned exactly as typed
// (a trailing separator included); any other text is made absolute against the current folder, so that
// the listed paths, the path cells and the workbook's place agree. On Windows a bare drive "X:" means
// that drive's root "X:\" (not the current folder of drive X), and "\dir" gets the current drive. The
// empty text stays empty (it names no folder); so does a text that cannot be made absolute.
std::u16string AbsolutePath(std::u16string_view text);

// The folder that holds the file at `path` (an absolute path): the text before its last separator,
// with the separator when it is the root's own ("/", "C:\").
std::u16string ParentFolder(std::u16string_view path);
