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
