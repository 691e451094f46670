#pragma once

#include "appsvc/Win32Api.h"

#include "ui/FontDescription.h"

// Fonts of the controls, made from the stock DEFAULT_GUI_FONT at the screen's vertical resolution.
// LOGPIXELSY is read at each call, so a font made after a resolution change follows it.

inline constexpr double DEFAULT_CONTROL_FONT_POINTS = 9.0;

// LOGPIXELSY of the screen device context.
int ScreenLogPixelsY();

// The font a description starts from: DEFAULT_GUI_FONT with DEFAULT_CHARSET, default output and clip
// precision, PROOF_QUALITY and default pitch and family.
LOGFONTW StartingLogFont();

// Writes what the description sets into `font`; everything else stays.
void ApplyFontDescription(const FontDescription& description, LOGFONTW& font);

// The starting font with the description applied at the screen's resolution.
LOGFONTW LogFontFromText(const char16_t* description);

// A control's font when none was set: DEFAULT_GUI_FONT, 9 points high at the screen's resolution.
// The caller owns the font.
HFONT CreateDefaultControlFont();
