#pragma once

#include <string>
#include <string_view>

// Conversions of file names between the system's encoding and the program's UTF-16 text. A name that is
// not valid Unicode still becomes text: every unit that cannot be represented becomes U+FFFD.
inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

// UTF-16 with every unpaired surrogate replaced (Windows names may hold them).
std::u16string ReplaceLoneSurrogates(std::u16string_view text);

// UTF-8 bytes (POSIX names) to UTF-16; each maximal invalid sequence becomes one U+FFFD.
std::u16string DecodeUtf8Lossy(std::string_view bytes);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

// File names as the system stores them on POSIX: bytes, usually but not always UTF-8. DecodeFileName
// carries every byte that is not part of valid UTF-8 as a lone low surrogate U+DC80 to U+DCFF, so the
// name still fits in UTF-16 and EncodeFileName gives back exactly the same bytes. Such a text shows
// U+FFFD for each of those bytes wherever it is displayed or written to the workbook.
std::u16string DecodeFileName(std::string_view bytes);
std::string EncodeFileName(std::u16string_view text);
