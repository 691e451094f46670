#include <gtest/gtest.h>

#include <string>

#include "EventRecorder.h"
#include "FormFixture.h"
#include "WindowPixels.h"
#include "ui/CVolWinButton.h"
#include "ui/CVolWinCheckBox.h"
#include "ui/CVolWinPanel.h"

namespace {

inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kGreen = RGB(0, 200, 0);

// Records each click with the check box's state at that moment, read through the sender.
std::int32_t RecordClick(CVolObject* target, CVolWinControl* sender, std::uint32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.lastSender = sender;
    const auto* checkBox = dynamic_cast<const CVolWinCheckBox*>(sender);
    recorder.Add(checkBox == nullptr ? "click"
                                     : (checkBox->IsChecked() ? "click checked" : "click unchecked"));
    return recorder.answer;
}

using ButtonTest = FormFixture;

TEST(CVolWinCheckBox, IsUncheckedWhileThereIsNoWindow) {
    CVolWinCheckBox checkBox;
    EXPECT_FALSE(checkBox.IsChecked());
    checkBox.SetChecked(true);
    EXPECT_FALSE(checkBox.IsChecked());
    EXPECT_EQ(checkBox.GetWindow(), nullptr);
}

TEST_F(ButtonTest, ClickOnCheckBoxTogglesItThenRaisesClickedWithTheNewState) {
    EventRecorder recorder;
    CVolWinCheckBox checkBox;
    checkBox.SetText(u"子文件夹");
    checkBox.BindEvent(checkBox.ClickedEvent(), &RecordClick, recorder.Holder());
    ASSERT_TRUE(CreateChild(checkBox, 10, 10, 120, 24, 103));
    ASSERT_FALSE(checkBox.IsChecked());

    SendMessageW(checkBox.GetWindow(), BM_CLICK, 0, 0);
    EXPECT_TRUE(checkBox.IsChecked());
    SendMessageW(checkBox.GetWindow(), BM_CLICK, 0, 0);
    EXPECT_FALSE(checkBox.IsChecked());

    EXPECT_EQ(recorder.entries, (std::vector<std::string>{"click checked", "click unchecked"}));
    EXPECT_EQ(recorder.lastSender, &checkBox);
}

TEST_F(ButtonTest, CheckedStateSetByTheProgramIsReadBackWithoutAClick) {
    EventRecorder recorder;
    CVolWinCheckBox checkBox;
    checkBox.BindEvent(checkBox.ClickedEvent(), &RecordClick, recorder.Holder());
    ASSERT_TRUE(CreateChild(checkBox, 10, 10, 120, 24, 103));
    checkBox.SetChecked(true);
    EXPECT_TRUE(checkBox.IsChecked());
    EXPECT_TRUE(recorder.entries.empty());
}

TEST_F(ButtonTest, PushButtonRaisesClickedOncePerClick) {
    EventRecorder recorder;
    CVolWinButton button;
    button.SetText(u"生成EXCEL");
    button.BindEvent(button.ClickedEvent(), &RecordClick, recorder.Holder());
    EXPECT_TRUE(button.HasListener());
    ASSERT_TRUE(CreateChild(button, 10, 40, 85, 32, 102));
    EXPECT_EQ(WindowText(button.GetWindow()), u"生成EXCEL");

    SendMessageW(button.GetWindow(), BM_CLICK, 0, 0);
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"click"});
    EXPECT_EQ(recorder.lastSender, &button);
}

TEST_F(ButtonTest, UnboundButtonClicksQuietlyAndOnlyItsOwnClickIsRaised) {
    EventRecorder recorder;
    CVolWinButton bound;
    CVolWinButton unbound;
    bound.BindEvent(bound.ClickedEvent(), &RecordClick, recorder.Holder());
    ASSERT_TRUE(CreateChild(bound, 10, 10, 85, 32, 1));
    ASSERT_TRUE(CreateChild(unbound, 100, 10, 85, 32, 2));
    EXPECT_FALSE(unbound.HasListener());
    SendMessageW(unbound.GetWindow(), BM_CLICK, 0, 0);
    EXPECT_TRUE(recorder.entries.empty());
}

TEST_F(ButtonTest, BindingAfterCreationStillDeliversClicks) {
    EventRecorder recorder;
    CVolWinButton button;
    ASSERT_TRUE(CreateChild(button, 10, 10, 85, 32, 5));
    button.BindEvent(button.ClickedEvent(), &RecordClick, recorder.Holder());
    SendMessageW(button.GetWindow(), BM_CLICK, 0, 0);
    EXPECT_EQ(recorder.entries.size(), 1u);
}

TEST(CVolWinButton, DefaultPushButtonBecomesTheDefaultOfItsVisibleEnabledForm) {
    TestForm form;
    ControlCreateInfo formInfo = MakeDefaultFormInfo();
    ASSERT_TRUE(form.CreateControl(formInfo));
    const HWND window = form.GetWindow();
    CVolWinButton plain;
    ControlCreateInfo plainInfo = MakeCreateInfo(window, &form, 10, 10, 85, 32, 41);
    ASSERT_TRUE(plain.CreateControl(plainInfo));
    EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), 0);

    CVolWinButton button;
    button.GetBridge()->SetStyle((CVolWinButton::kDefaultStyle & ~BS_TYPEMASK) | BS_DEFPUSHBUTTON);
    ControlCreateInfo info = MakeCreateInfo(window, &form, 100, 10, 85, 32, 42);
    ASSERT_TRUE(button.CreateControl(info));
    EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), 0x534B0000 | 42);
    DestroyWindow(window);
    TakeQuitMessage();
}

TEST_F(ButtonTest, DefaultPushButtonInsideAPanelRegistersWithTheFormAbove) {
    CVolWinPanel panel;
    ASSERT_TRUE(CreateChild(panel, 0, 0, 200, 100, 60));
    CVolWinButton button;
    button.GetBridge()->SetStyle((CVolWinButton::kDefaultStyle & ~BS_TYPEMASK) | BS_DEFPUSHBUTTON);
    ControlCreateInfo info = MakeCreateInfo(panel.GetWindow(), form_, 5, 5, 85, 32, 61);
    ASSERT_TRUE(button.CreateControl(info));
    EXPECT_EQ(SendMessageW(formWindow_, DM_GETDEFID, 0, 0), 0x534B0000 | 61);
}

TEST_F(ButtonTest, ReflectedControlColorAnswersTheButtonsColoursAndBrush) {
    CVolWinButton button;
    button.SetTextColor(kRed);
    button.SetBackgroundColor(kGreen);
    ASSERT_TRUE(CreateChild(button, 10, 10, 85, 32, 7));
    const HDC dc = CreateCompatibleDC(nullptr);
    const auto brush =
        reinterpret_cast<HBRUSH>(SendMessageW(formWindow_, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(button.GetWindow())));
    EXPECT_EQ(GetTextColor(dc), kRed);
    EXPECT_EQ(GetBkColor(dc), kGreen);
    LOGBRUSH description{};
    ASSERT_NE(brush, nullptr);
    ASSERT_NE(GetObjectW(brush, sizeof(description), &description), 0);
    EXPECT_EQ(description.lbColor, kGreen);
    DeleteDC(dc);
}

TEST_F(ButtonTest, SystemBackgroundColourIsTheButtonFace) {
    CVolWinCheckBox checkBox;
    ASSERT_TRUE(CreateChild(checkBox, 10, 10, 85, 32, 7));
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(formWindow_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(checkBox.GetWindow()));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    DeleteDC(dc);
}

TEST_F(ButtonTest, CheckBoxTextColourAndBackgroundReachTheScreen) {
    CVolWinCheckBox coloured;
    coloured.SetText(u"MMMMMM");
    coloured.SetTextColor(kRed);
    coloured.SetBackgroundColor(kGreen);
    ASSERT_TRUE(CreateChild(coloured, 10, 10, 160, 30, 8));
    const WindowPixels pixels = WindowPixels::Capture(coloured.GetWindow());
    EXPECT_GT(pixels.Count(IsReddish), 20);
    EXPECT_EQ(pixels.At(pixels.Width() - 2, pixels.Height() / 2), kGreen);  // right of the text

    CVolWinCheckBox plain;
    plain.SetText(u"MMMMMM");
    ASSERT_TRUE(CreateChild(plain, 10, 50, 160, 30, 9));
    EXPECT_EQ(WindowPixels::Capture(plain.GetWindow()).Count(IsReddish), 0);
}

TEST_F(ButtonTest, TextColourChangedAfterCreationRepaintsTheCheckBox) {
    CVolWinCheckBox checkBox;
    checkBox.SetText(u"MMMMMM");
    ASSERT_TRUE(CreateChild(checkBox, 10, 10, 160, 30, 8));
    ASSERT_EQ(WindowPixels::Capture(checkBox.GetWindow()).Count(IsReddish), 0);
    checkBox.SetTextColor(kRed);
    EXPECT_GT(WindowPixels::Capture(checkBox.GetWindow()).Count(IsReddish), 20);
}

TEST_F(ButtonTest, LongTextWrapsInsideTheButton) {
    CVolWinButton button;
    button.SetText(u"MMMM MMMM MMMM");
    ASSERT_TRUE(CreateChild(button, 10, 10, 70, 80, 8));
    const WindowPixels pixels = WindowPixels::Capture(button.GetWindow());
    // Inside the frame only: the button's edges are dark too.
    const WindowPixels inside = pixels.Crop({4, 4, pixels.Width() - 4, pixels.Height() - 4});
    EXPECT_EQ(inside.RowRuns(IsDark), 3);
}

}  // namespace
