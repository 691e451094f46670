#pragma once

#include <cstdarg>
#include <cstddef>

// printf-style formatting into UTF-16 text, with identical results on every platform: integers and
// floating point are formatted by this library, never by the C library's wide printf.
//
// Conversions: %d %i %u %x %X %o %c %s %p %e %E %f %F %g %G and %%; flags - + space # 0; width and
// precision as digits or `*`; length modifiers hh h l ll z j t and I64 I32 I. %c takes a char16_t
// (promoted to int), %s a `const char16_t*` (null prints "(null)"), %p prints 16 uppercase hex digits.
// %n and anything not listed is an invalid format.
//
// Writes at most `capacity` code units including the terminating NUL (truncating) and returns the full
// length without the NUL, like vsnprintf. Returns -1 for an invalid format or a length above INT_MAX;
// `out` then holds an empty text. `out` may be null when `capacity` is 0.
// FormatWideV works on a copy of `args`, so the caller may pass the same list again.
int FormatWideV(char16_t* out, std::size_t capacity, const char16_t* format, std::va_list args);
int FormatWide(char16_t* out, std::size_t capacity, const char16_t* format, ...);
