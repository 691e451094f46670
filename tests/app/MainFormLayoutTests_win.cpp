#include <gtest/gtest.h>

#include "app/main_form/MainFormLayout.h"
#include "appsvc/FrameworkPreTranslate.h"
#include "tests/app/MainFormHarness.h"
#include "ui/CVWnd_Label.h"

namespace {

struct Placement {
    int id;
    int x;
    int y;
    int width;
    int height;
};

// The window rectangle of a child in its parent's client coordinates.
Placement PlacementOf(HWND parent, int id) {
    RECT bounds{};
    const HWND child = GetDlgItem(parent, id);
    GetWindowRect(child, &bounds);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&bounds), 2);
    return {id, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void ExpectPlacements(const MainFormHarness& harness, const Placement (&expected)[6]) {
    for (const Placement& want : expected) {
        SCOPED_TRACE(testing::Message() << "control " << want.id);
        ASSERT_NE(harness.Child(want.id), nullptr);
        const Placement got = PlacementOf(harness.Window(), want.id);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
    }
}

TEST(MainFormLayout, ControlsSitAtTheDesignValuesAtScaleOne) {
    MainFormHarness harness(1.0);
    ExpectPlacements(harness, {{101, 57, 220, 496, 37},
                               {102, 329, 155, 85, 32},
                               {103, 547, 87, 85, 16},
                               {104, 190, 155, 85, 32},
                               {105, 2, 82, 541, 32},
                               {106, 3, 18, 629, 37}});
    RECT client{};
    GetClientRect(harness.Window(), &client);
    EXPECT_EQ(client.right, 633);
    EXPECT_EQ(client.bottom, 267);
}

TEST(MainFormLayout, EveryDesignValueIsScaledAndRoundedAtScaleOneAndAHalf) {
    MainFormHarness harness(1.5);
    // (int)(1.5 * v + 0.5) of each design value; the path box is at (3, 123), 812 x 48.
    ExpectPlacements(harness, {{101, 86, 330, 744, 56},
                               {102, 494, 233, 128, 48},
                               {103, 821, 131, 128, 24},
                               {104, 285, 233, 128, 48},
                               {105, 3, 123, 812, 48},
                               {106, 5, 27, 944, 56}});
    RECT client{};
    GetClientRect(harness.Window(), &client);
    EXPECT_EQ(client.right, 950);
    EXPECT_EQ(client.bottom, 401);
}

TEST(MainFormLayout, TitleAndControlTextsAreThoseOfTheTable) {
    MainFormHarness harness;
    EXPECT_EQ(WindowText(harness.Window()), u"Morvane - 免费 绿色 极速");
    const struct {
        int id;
        std::u16string text;
    } rows[] = {
        {101, u""},         {102, u"生成EXCEL"},
        {103, u"子文件夹"}, {104, u"选择文件夹"},
        {105, u""},         {106, u"将选择、粘贴或拖放的文件夹里的文件信息导出到Excel文件,位置在本目录下。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        EXPECT_EQ(harness.Text(row.id), row.text);
    }
}

TEST(MainFormLayout, ControlsCarryTheDesignedFont) {
    MainFormHarness harness;
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // The description line is the one control in 13 points; the labels answer WM_GETFONT too.
    const struct {
        int id;
        double points;
    } rows[] = {{101, 11}, {102, 11}, {103, 11}, {104, 11}, {105, 11}, {106, 13}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(harness.Child(row.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW logFont{};
        ASSERT_NE(GetObjectW(font, sizeof logFont, &logFont), 0);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(logFont.lfFaceName)), u"微软雅黑");
        // The size at the screen's resolution, as a character height.
        EXPECT_NEAR(-logFont.lfHeight, row.points * pixelsPerInch / 72.0, 1.0);
        EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
        EXPECT_FALSE(logFont.lfItalic);
        EXPECT_FALSE(logFont.lfUnderline);
        EXPECT_FALSE(logFont.lfStrikeOut);
        EXPECT_EQ(logFont.lfEscapement, 0);
    }
}

TEST(MainFormLayout, BothLabelsCentreTheirText) {
    MainFormHarness harness;
    for (int id : {101, 106}) {
        SCOPED_TRACE(testing::Message() << "control " << id);
        const auto* label = dynamic_cast<const CVWnd_Label*>(CVWnd_Base::FromHandle(harness.Child(id)));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetHorizontalAlignment(), CVWnd_Label::kAlignCenter);
    }
}

TEST(MainFormLayout, FormAndPathBoxAcceptDropsAndTheOtherControlsLeaveThemToTheForm) {
    MainFormHarness harness;
    EXPECT_EQ(DropTargetFor(harness.Window()), harness.Window());
    EXPECT_EQ(DropTargetFor(harness.Child(105)), harness.Child(105));
    for (int id : {101, 102, 103, 104, 106}) {
        SCOPED_TRACE(testing::Message() << "control " << id);
        EXPECT_EQ(DropTargetFor(harness.Child(id)), harness.Window());
    }
}

TEST(MainFormLayout, CheckBoxStartsUntickedAndTheStatusLineEmpty) {
    MainFormHarness harness;
    EXPECT_EQ(SendMessageW(harness.Child(103), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(harness.Text(101), u"");
    EXPECT_EQ(CountPixels(harness.Child(101), STATUS_FAILURE_COLOR), 0);
    EXPECT_EQ(CountPixels(harness.Child(101), STATUS_DONE_COLOR), 0);
}

// A key pressed and released on the focused window `target`, then the queue pumped as the main loop
// pumps it (the framework's pre-translation first): until it is empty, or with `done` until that
// holds or the queue has stayed empty for a while, since the export may answer from a worker.
template <class Done>
void PressKey(HWND target, UINT key, Done done, int idleRounds = 50) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    for (int idle = 0; idle < idleRounds && !done();) {
        MSG msg{};
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (++idle < idleRounds) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            }
            continue;
        }
        if (!FrameworkPreTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void PressKey(HWND target, UINT key) {
    PressKey(
        target, key, [] { return false; }, 1);
}

TEST(MainFormKeys, TabVisitsTheTabStopsInCreationOrderAndComesRound) {
    MainFormHarness harness;
    SetFocus(harness.Child(GENERATE_BUTTON_ID));
    ASSERT_EQ(GetFocus(), harness.Child(GENERATE_BUTTON_ID));
    // The labels are no tab stops; the check box, the buttons and the path box are.
    for (const int id : {SUBFOLDERS_CHECK_BOX_ID, CHOOSE_FOLDER_BUTTON_ID, PATH_BOX_ID, GENERATE_BUTTON_ID}) {
        SCOPED_TRACE(testing::Message() << "to control " << id);
        PressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(GetFocus(), harness.Child(id));
    }
    EXPECT_EQ(harness.Text(STATUS_LABEL_ID), u"");
}

TEST(MainFormKeys, EnterOnTheFocusedGenerateButtonRunsTheExport) {
    MainFormHarness harness;
    SetFocus(harness.Child(GENERATE_BUTTON_ID));
    // The export answers from its worker: its status first reads "正在…".
    PressKey(GetFocus(), VK_RETURN,
             [&harness] { return !harness.Form().IsExporting() && !harness.Text(STATUS_LABEL_ID).empty(); });
    EXPECT_EQ(harness.Text(STATUS_LABEL_ID), u"目录错误");  // the path box is empty
}

TEST(MainFormKeys, EnterAndEscInThePathBoxLeaveTheFormAsItIs) {
    MainFormHarness harness;
    harness.Type(u"C:\\不存在");
    SetFocus(harness.Child(PATH_BOX_ID));
    PressKey(GetFocus(), VK_RETURN);
    PressKey(GetFocus(), VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(harness.Window()));
    EXPECT_EQ(harness.Text(PATH_BOX_ID), u"C:\\不存在");
    EXPECT_EQ(harness.Text(STATUS_LABEL_ID), u"");
}

}  // namespace
