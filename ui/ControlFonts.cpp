#include "ui/ControlFonts.h"

#include <algorithm>

int ScreenLogPixelsY() {
    const HDC screen = GetDC(nullptr);
    const int logPixelsY = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return logPixelsY;
}

namespace {

LOGFONTW DefaultGuiLogFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return font;
}

}  // namespace

LOGFONTW StartingLogFont() {
    LOGFONTW font = DefaultGuiLogFont();
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    return font;
}

void ApplyFontDescription(const FontDescription& description, LOGFONTW& font) {
    if (description.faceName) {
        const std::size_t length = std::min<std::size_t>(description.faceName->size(), LF_FACESIZE - 1);
        std::copy_n(description.faceName->data(), length, reinterpret_cast<char16_t*>(font.lfFaceName));
        font.lfFaceName[length] = 0;
    }
    if (description.height) {
        font.lfHeight = *description.height;
    }
    if (description.weight) {
        font.lfWeight = *description.weight;
    }
    if (description.italic) {
        font.lfItalic = *description.italic ? 1 : 0;
    }
    if (description.underline) {
        font.lfUnderline = *description.underline ? 1 : 0;
    }
    if (description.strikeOut) {
        font.lfStrikeOut = *description.strikeOut ? 1 : 0;
    }
    if (description.angle) {
        font.lfEscapement = *description.angle;
        font.lfOrientation = *description.angle;
    }
}

LOGFONTW LogFontFromText(const char16_t* description) {
    LOGFONTW font = StartingLogFont();
    ApplyFontDescription(FontDescription::Parse(description, ScreenLogPixelsY()), font);
    return font;
}

HFONT CreateDefaultControlFont() {
    LOGFONTW font = DefaultGuiLogFont();
    font.lfHeight = -static_cast<int>(ScreenLogPixelsY() * DEFAULT_CONTROL_FONT_POINTS / 72);
    return CreateFontIndirectW(&font);
}
