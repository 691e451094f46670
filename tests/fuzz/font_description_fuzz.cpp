// Feeds arbitrary UTF-16 text to the font description parser and checks what every result must hold.
// The first two bytes choose the vertical resolution; the rest is the text, two bytes per code unit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/FontDescription.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Resolutions from 0 to 1023 cover every real screen and the degenerate ones.
    const int logPixelsY = (data[0] | (data[1] << 8)) & 0x3FF;
    std::u16string text;
    for (std::size_t i = 2; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }

    const FontDescription font = FontDescription::Parse(text, logPixelsY);
    if (font.faceName) {
        Require(!font.faceName->empty() && font.faceName->size() <= FontDescription::kMaxFaceLength);
        Require(!IsFontFieldBlank(font.faceName->front()));
        Require(font.faceName->find(u',') == std::u16string::npos);
    }
    if (font.height) {
        Require(*font.height < 0);
    }
    if (font.weight) {
        Require(*font.weight == FontDescription::kNormalWeight ||
                *font.weight == FontDescription::kBoldWeight);
    }
    if (font.angle) {
        Require(*font.angle >= 0 && *font.angle < FontDescription::kFullCircle);
    }
    // Parsing is a pure function of its input.
    Require(FontDescription::Parse(text, logPixelsY) == font);
    return 0;
}
