#include <gtest/gtest.h>

#include <string>

#include "EventRecorder.h"
#include "FormFixture.h"
#include "WindowPixels.h"
#include "ui/CVolWinLabel.h"

namespace {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kPaleGreen = RGB(10, 200, 30);

using LabelTest = FormFixture;

class LabelPaintTest : public FormFixture {
protected:
    // Labels of one test sit side by side: the pixels are read back from the screen.
    bool Make(CVolWinLabel& label, const char16_t* text, int width, int height, int id = 101, int y = 10) {
        label.SetText(text);
        label.SetBackgroundColor(kWhite);
        label.SetFontFromText(u"Arial, 14");
        return CreateChild(label, 10, y, width, height, id);
    }
    static WindowPixels::ColorTest Ink() { return IsNot(kWhite); }
};

TEST_F(LabelPaintTest, EmptyLabelPaintsOnlyItsBackground) {
    CVolWinLabel label;
    label.SetBackgroundColor(kPaleGreen);
    ASSERT_TRUE(CreateChild(label, 10, 10, 120, 40, 101));
    const WindowPixels pixels = WindowPixels::Capture(label.GetWindow());
    ASSERT_EQ(pixels.Width(), 120);
    ASSERT_EQ(pixels.Height(), 40);
    EXPECT_EQ(pixels.Count(IsNot(kPaleGreen)), 0);
}

TEST_F(LabelPaintTest, DefaultBackgroundIsTheButtonFace) {
    CVolWinLabel label;
    ASSERT_TRUE(CreateChild(label, 10, 10, 50, 20, 101));
    EXPECT_EQ(WindowPixels::Capture(label.GetWindow()).Count(IsNot(GetSysColor(COLOR_BTNFACE))), 0);
}

TEST_F(LabelPaintTest, TextColourSetAfterCreationIsWhatThePixelsShow) {
    CVolWinLabel label;
    ASSERT_TRUE(Make(label, u"目录错误 MMM", 200, 40));
    const WindowPixels before = WindowPixels::Capture(label.GetWindow());
    EXPECT_GT(before.Count(IsDark), 20);  // the window text colour
    EXPECT_EQ(before.Count(IsReddish), 0);

    label.SetTextColor(kRed);
    EXPECT_EQ(label.GetTextColor(), kRed);
    const WindowPixels after = WindowPixels::Capture(label.GetWindow());
    EXPECT_GT(after.Count(IsReddish), 20);
    EXPECT_EQ(after.Count(IsDark), 0);
}

TEST_F(LabelPaintTest, BottomAlignmentWithoutWordWrapDrawsOneLineAtTheBottom) {
    CVolWinLabel label;
    label.SetVerticalAlignment(CVWnd_Label::kAlignBottom);
    ASSERT_TRUE(Make(label, u"word word word word word word word word", 100, 120));
    const WindowPixels pixels = WindowPixels::Capture(label.GetWindow());
    const WindowPixels::Box ink = pixels.Bounds(Ink());
    EXPECT_EQ(pixels.RowRuns(Ink()), 1);
    EXPECT_GT(ink.top, pixels.Height() / 2) << ink;
    EXPECT_GE(ink.bottom, pixels.Height() - 8) << ink;
}

TEST_F(LabelPaintTest, WordWrapBreaksLinesFromTheTopWhateverTheVerticalAlignment) {
    CVolWinLabel label;
    label.SetVerticalAlignment(CVWnd_Label::kAlignBottom);
    label.SetWordWrap(true);
    ASSERT_TRUE(Make(label, u"word word word word", 80, 200));
    const WindowPixels pixels = WindowPixels::Capture(label.GetWindow());
    EXPECT_GE(pixels.RowRuns(Ink()), 2);
    EXPECT_LT(pixels.Bounds(Ink()).top, 10);
}

struct AlignmentCase {
    int alignment;
    int expectedCentre;  // in tenths of the label's width
};

class LabelAlignmentTest : public LabelPaintTest, public testing::WithParamInterface<AlignmentCase> {};

TEST_P(LabelAlignmentTest, TextSitsWhereTheHorizontalAlignmentPutsIt) {
    CVolWinLabel label;
    label.SetHorizontalAlignment(GetParam().alignment);
    ASSERT_TRUE(Make(label, u"MM", 300, 40));
    const WindowPixels pixels = WindowPixels::Capture(label.GetWindow());
    const WindowPixels::Box ink = pixels.Bounds(Ink());
    ASSERT_FALSE(ink.IsEmpty());
    const int centre = (ink.left + ink.right) / 2;
    EXPECT_NEAR(centre * 10 / pixels.Width(), GetParam().expectedCentre, 1) << ink;
    // Vertically centred by default.
    EXPECT_NEAR((ink.top + ink.bottom) / 2, pixels.Height() / 2, 4) << ink;
}

INSTANTIATE_TEST_SUITE_P(Rows, LabelAlignmentTest,
                         testing::Values(AlignmentCase{CVWnd_Label::kAlignLeft, 0},
                                         AlignmentCase{CVWnd_Label::kAlignCenter, 5},
                                         AlignmentCase{CVWnd_Label::kAlignRight, 9}));

TEST_F(LabelPaintTest, AmpersandIsDrawnAsItself) {
    CVolWinLabel single;
    CVolWinLabel twice;
    ASSERT_TRUE(Make(single, u"&", 200, 40, 101));
    ASSERT_TRUE(Make(twice, u"&&", 200, 40, 102, 60));
    const WindowPixels::Box one = WindowPixels::Capture(single.GetWindow()).Bounds(Ink());
    const WindowPixels::Box two = WindowPixels::Capture(twice.GetWindow()).Bounds(Ink());
    ASSERT_FALSE(one.IsEmpty());                  // a lone prefix character would draw nothing
    EXPECT_GT(two.Width(), one.Width() * 3 / 2);  // "&&" would draw a single "&"
}

TEST_F(LabelPaintTest, LabelWithoutAFontPaintsWithTheDefaultGuiFont) {
    CVolWinLabel label;
    ASSERT_TRUE(Make(label, u"MMM", 200, 40));
    SendMessageW(label.GetWindow(), WM_SETFONT, 0, TRUE);
    EXPECT_EQ(label.GetLabelWindow()->GetFont(), nullptr);
    const WindowPixels::Box ink = WindowPixels::Capture(label.GetWindow()).Bounds(Ink());
    ASSERT_FALSE(ink.IsEmpty());

    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"MMM", 3, &extent);
    SelectObject(dc, previous);
    DeleteDC(dc);
    EXPECT_NEAR(ink.Width(), extent.cx, 3);
}

TEST_F(LabelPaintTest, StretchedPictureCoversTheLabel) {
    CVolWinLabel label;
    const COLORREF blue = RGB(0, 0, 255);
    const HDC screen = GetDC(nullptr);
    const HBITMAP picture = CreateCompatibleBitmap(screen, 2, 2);
    const HDC dc = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(dc, picture);
    const HBRUSH brush = CreateSolidBrush(blue);
    const RECT all{0, 0, 2, 2};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    label.SetPicture(picture, CVWnd_Label::kPictureStretched);
    ASSERT_TRUE(CreateChild(label, 10, 10, 60, 30, 101));
    EXPECT_EQ(WindowPixels::Capture(label.GetWindow()).Count(IsNot(blue)), 0);
}

// White at half opacity (premultiplied: 128 of every colour, alpha 128) over red: red stays full,
// green and blue take half of the white.
bool IsHalfWhiteOverRed(COLORREF color) {
    return GetRValue(color) >= 254 && GetGValue(color) >= 126 && GetGValue(color) <= 130 &&
           GetBValue(color) >= 126 && GetBValue(color) <= 130;
}

TEST_F(LabelPaintTest, PictureWithTransparencyIsBlendedOverTheBackgroundByItsMode) {
    struct Case {
        int mode;
        WindowPixels::Box halfWhite;  // in a 60 × 30 label, for an 8 × 8 picture whose left half shows
    };
    const Case cases[] = {
        {CVWnd_Label::kPictureTopLeft, {0, 0, 4, 8}},
        {CVWnd_Label::kPictureCentred, {26, 11, 30, 19}},
        {CVWnd_Label::kPictureStretched, {0, 0, 30, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CVolWinLabel label;
        label.SetBackgroundColor(kRed);
        label.SetPicture(HalfTransparentPicture(8, 8, RGBQUAD{128, 128, 128, 128}), c.mode);
        ASSERT_TRUE(CreateChild(label, 10, 10, 60, 30, 101));
        const WindowPixels pixels = WindowPixels::Capture(label.GetWindow());
        const WindowPixels::Box blended = pixels.Bounds(IsHalfWhiteOverRed);
        EXPECT_EQ(blended.left, c.halfWhite.left);
        EXPECT_EQ(blended.top, c.halfWhite.top);
        EXPECT_NEAR(blended.right, c.halfWhite.right, c.mode == CVWnd_Label::kPictureStretched ? 1 : 0);
        EXPECT_EQ(blended.bottom, c.halfWhite.bottom);
        // The transparent half shows the background, never black.
        EXPECT_EQ(pixels.Count(IsDark), 0);
        EXPECT_GE(pixels.Count(IsExactly(kRed)), 60 * 30 - c.halfWhite.Width() * c.halfWhite.Height() -
                                                     (c.mode == CVWnd_Label::kPictureStretched ? 30 : 0));
        DestroyWindow(label.GetWindow());
    }
}

TEST_F(LabelTest, LabelIsNeverATabStop) {
    CVolWinLabel label;
    label.GetBridge()->SetStyle(CVolWinLabel::kDefaultStyle | WS_TABSTOP);
    ControlCreateInfo info = MakeCreateInfo(formWindow_, form_, 0, 0, 80, 20, 101);
    ASSERT_TRUE(label.CreateControl(info));
    EXPECT_EQ(GetWindowLongW(label.GetWindow(), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(info.style & WS_TABSTOP, 0u);
    EXPECT_EQ(SendMessageW(label.GetWindow(), WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(LabelTest, LabelKeepsItsOwnCopyOfTheFont) {
    CVolWinLabel label;
    ASSERT_TRUE(CreateChild(label, 0, 0, 80, 20, 101));
    LOGFONTW description{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
    description.lfHeight = -21;
    const HFONT given = CreateFontIndirectW(&description);
    SendMessageW(label.GetWindow(), WM_SETFONT, reinterpret_cast<WPARAM>(given), FALSE);
    DeleteObject(given);

    const auto own = reinterpret_cast<HFONT>(SendMessageW(label.GetWindow(), WM_GETFONT, 0, 0));
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, given);
    LOGFONTW copied{};
    ASSERT_EQ(GetObjectW(own, sizeof(copied), &copied), static_cast<int>(sizeof(copied)));
    EXPECT_EQ(copied.lfHeight, -21);
}

TEST_F(LabelTest, TransparentLabelIsMadeWithTheTransparentExStyle) {
    CVolWinLabel label;
    label.SetTransparent(true);
    ASSERT_TRUE(CreateChild(label, 0, 0, 80, 20, 101));
    EXPECT_NE(GetWindowLongW(label.GetWindow(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
}

std::int32_t AnswerLabelEvent(CVolObject* target, CVolWinControl* sender, std::uint32_t, std::int64_t first,
                              std::int64_t second) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.lastSender = sender;
    recorder.Add(std::to_string(first) + "," + std::to_string(second));
    return recorder.answer;
}

TEST_F(LabelTest, LabelEventMessageRaisesTheEventAndAnswersItsResult) {
    EventRecorder recorder;
    recorder.answer = 42;
    CVolWinLabel label;
    ASSERT_TRUE(CreateChild(label, 0, 0, 80, 20, 101));
    EXPECT_EQ(SendMessageW(label.GetWindow(), 0xA002, 5, 6), 0);  // nobody bound yet
    label.BindEvent(label.LabelEvent(), &AnswerLabelEvent, recorder.Holder());
    EXPECT_EQ(SendMessageW(label.GetWindow(), 0xA002, 5, -6), 42);
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"5,-6"});
    EXPECT_EQ(recorder.lastSender, &label);
}

}  // namespace
