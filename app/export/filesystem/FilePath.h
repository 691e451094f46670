#pragma once

#include <string>
#include <string_view>

// The platform's path rules, as far as the export needs them. Windows joins with a backslash and
// accepts both slashes as separators; POSIX joins and splits at the slash only.

// The separator put between a folder and a name.
char16_t PathSeparator();

bool IsPathSeparator(char16_t unit);

// Position of the last separator in `path`, or npos.
std::size_t LastSeparator(std::u16string_view path);

// The folder text followed by the name, with one separator between them unless the folder already
// ends in one (or, on Windows, is a bare drive such as "C:", where a separator would change the meaning).
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// True for a folder text that the recursive listing refuses because it stands for a whole file-system
// root: on Windows any text shorter than 4 characters ("C:\", "C:"), on POSIX "/" (also "//", "///").
bool IsRootForRecursiveWalk(std::u16string_view folder);
