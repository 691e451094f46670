#pragma once

#include <cstddef>
#include <string_view>

// The columns `text` takes on a terminal, counted as wcwidth counts them: East Asian wide and fullwidth
// characters (Chinese, kana, Hangul, most emoji) take two, combining marks and other zero-width
// characters none, the rest one. A line is erased by what it took on the screen, not by its length
// in UTF-16 units.
std::size_t TerminalWidth(std::u16string_view text);
