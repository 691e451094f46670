#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/ControlFonts.h"

namespace {

LOGFONTW DefaultGuiFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return font;
}

std::u16string FaceOf(const LOGFONTW& font) {
    return reinterpret_cast<const char16_t*>(font.lfFaceName);
}

TEST(ControlFonts, StartingFontIsTheDefaultGuiFontWithProofQuality) {
    const LOGFONTW gui = DefaultGuiFont();
    const LOGFONTW font = StartingLogFont();
    EXPECT_EQ(FaceOf(font), FaceOf(gui));
    EXPECT_EQ(font.lfHeight, gui.lfHeight);
    EXPECT_EQ(font.lfWeight, gui.lfWeight);
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(font.lfOutPrecision, 0);
    EXPECT_EQ(font.lfClipPrecision, 0);
    EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(font.lfPitchAndFamily, 0);
}

TEST(ControlFonts, EmptyDescriptionKeepsTheStartingFont) {
    const LOGFONTW start = StartingLogFont();
    const LOGFONTW font = LogFontFromText(u"");
    EXPECT_EQ(0, std::memcmp(&font, &start, sizeof(font)));
}

TEST(ControlFonts, DescriptionIsAppliedAtTheScreenResolution) {
    const LOGFONTW font = LogFontFromText(u"微软雅黑, 11, 1, 1, 0, 1, -900");
    const int expectedPixels = (11 * ScreenLogPixelsY() + 36) / 72;
    EXPECT_EQ(FaceOf(font), u"微软雅黑");
    EXPECT_EQ(font.lfHeight, -expectedPixels);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfStrikeOut, 1);
    EXPECT_EQ(font.lfEscapement, 2700);
    EXPECT_EQ(font.lfOrientation, 2700);
    EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
}

TEST(ControlFonts, ZeroSizeKeepsTheDefaultGuiHeight) {
    EXPECT_EQ(LogFontFromText(u"Arial, 0").lfHeight, DefaultGuiFont().lfHeight);
}

TEST(ControlFonts, LongFaceNameIsCutAndTerminated) {
    const std::u16string longName(32, u'F');
    const LOGFONTW font = LogFontFromText(longName.c_str());
    EXPECT_EQ(FaceOf(font), std::u16string(31, u'F'));
}

TEST(ControlFonts, DefaultControlFontIsNinePointsAtTheScreenResolution) {
    const HFONT handle = CreateDefaultControlFont();
    ASSERT_NE(handle, nullptr);
    LOGFONTW font{};
    GetObjectW(handle, sizeof(font), &font);
    DeleteObject(handle);
    EXPECT_EQ(font.lfHeight, -static_cast<int>(ScreenLogPixelsY() * 9.0 / 72));
    EXPECT_EQ(FaceOf(font), FaceOf(DefaultGuiFont()));
}

}  // namespace
