#pragma once

class CVolMem;

// Conversions between UTF-16 and UTF-8 into a buffer the caller owns. The previous contents of `out`
// are replaced; the result points into `out` and stays valid while `out` is unchanged. A null, empty
// or unconvertible text gives the empty text (the buffer then holds a single NUL).
//
// Ill-formed input (a lone surrogate, a broken UTF-8 sequence) becomes U+FFFD. `text` must not lie
// inside `out`.
const char* WideToUtf8(const char16_t* text, CVolMem& out);
const char16_t* Utf8ToWide(const char* text, CVolMem& out);

// The platform codec beneath them (WideCharToMultiByte and MultiByteToWideChar with the UTF-8 code
// page on Windows, the library's own codec elsewhere): converts `length` units, writes at most
// `capacity` units and returns the number written, or with a capacity of 0 the number needed. 0 means
// failure, including a capacity that is too small.
int WideToUtf8Units(const char16_t* text, int length, char* out, int capacity);
int Utf8ToWideUnits(const char* text, int length, char16_t* out, int capacity);
