#include <gtest/gtest.h>

#include <string>

#include "EventRecorder.h"
#include "RecordingPanel.h"
#include "WindowPixels.h"
#include "WindowTestSupport.h"
#include "ui/BackgroundPicture.h"
#include "ui/FrameworkWindowMessages.h"

namespace {

std::int32_t Record(CVolObject* target, CVolWinControl*, std::uint32_t) {
    EventRecorder::Of(target).Add("event");
    return 0;
}

class CVolWinPanelTest : public testing::Test {
protected:
    void SetUp() override {
        ControlCreateInfo info = MakeDefaultFormInfo();
        ASSERT_TRUE(form_.CreateControl(info));
    }
    void TearDown() override {
        DestroyWindow(form_.GetWindow());
        PumpMessages();
    }

    bool CreateIn(CVolWinControl& control, HWND parent, int id, int layer = -1) {
        ControlCreateInfo info = MakeCreateInfo(parent, &form_, 0, 0, 60, 40, id);
        info.layer = layer;
        return control.CreateControl(info);
    }

    TestForm form_;
};

// A bitmap of `width` × `height` pixels of one colour, compatible with the screen.
HBITMAP SolidBitmap(int width, int height, COLORREF color) {
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HDC dc = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    const HBRUSH brush = CreateSolidBrush(color);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST_F(CVolWinPanelTest, BackgroundPictureCoversThePanelByItsMode) {
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF blue = RGB(0, 0, 255);
    struct Case {
        int mode;
        WindowPixels::Box blueArea;  // in a 60 × 40 panel, for a 4 × 4 picture
    };
    const Case cases[] = {
        {BackgroundPicture::kTopLeft, {0, 0, 4, 4}},
        {BackgroundPicture::kCentred, {28, 18, 32, 22}},
        {BackgroundPicture::kTiled, {0, 0, 60, 40}},
        {BackgroundPicture::kStretched, {0, 0, 60, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CVolWinPanel panel;
        panel.GetContainerWindow()->SetBackgroundColor(red);
        panel.GetContainerWindow()->SetPicture(SolidBitmap(4, 4, blue), c.mode);
        ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 1));
        const WindowPixels pixels = WindowPixels::Capture(panel.GetWindow());
        const WindowPixels::Box drawn = pixels.Bounds(IsExactly(blue));
        EXPECT_EQ(drawn.left, c.blueArea.left);
        EXPECT_EQ(drawn.top, c.blueArea.top);
        EXPECT_EQ(drawn.right, c.blueArea.right);
        EXPECT_EQ(drawn.bottom, c.blueArea.bottom);
        EXPECT_EQ(pixels.Count(IsExactly(blue)), c.blueArea.Width() * c.blueArea.Height());
        EXPECT_EQ(pixels.Count(IsExactly(red)), 60 * 40 - c.blueArea.Width() * c.blueArea.Height());
        DestroyWindow(panel.GetWindow());
    }
}

TEST_F(CVolWinPanelTest, TransparentPartsOfAPictureShowTheBackgroundColour) {
    const COLORREF red = RGB(255, 0, 0);
    CVolWinPanel panel;
    panel.GetContainerWindow()->SetBackgroundColor(red);
    // Left half fully opaque blue, right half fully transparent; tiled over the panel.
    panel.GetContainerWindow()->SetPicture(HalfTransparentPicture(4, 4, RGBQUAD{255, 0, 0, 255}),
                                           BackgroundPicture::kTiled);
    ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 1));
    const WindowPixels pixels = WindowPixels::Capture(panel.GetWindow());
    EXPECT_EQ(pixels.Count(IsExactly(RGB(0, 0, 255))), 60 * 40 / 2);
    EXPECT_EQ(pixels.Count(IsExactly(red)), 60 * 40 / 2);
    EXPECT_EQ(pixels.At(2, 0), red);
    EXPECT_EQ(pixels.At(1, 0), RGB(0, 0, 255));
}

TEST_F(CVolWinPanelTest, ChildOnEveryPageStaysVisibleWhilePagesChange) {
    CVolWinPanel pages;
    ASSERT_TRUE(CreateIn(pages, form_.GetWindow(), 1));
    RecordingPanel first;
    RecordingPanel second;
    RecordingPanel everyPage;
    ASSERT_TRUE(CreateIn(first, pages.GetWindow(), 10, 0));
    ASSERT_TRUE(CreateIn(second, pages.GetWindow(), 11, 1));
    ASSERT_TRUE(CreateIn(everyPage, pages.GetWindow(), 12, -1));

    pages.GetContainerWindow()->SetCurrentPage(1);
    EXPECT_FALSE(IsWindowVisible(first.GetWindow()));
    EXPECT_TRUE(IsWindowVisible(second.GetWindow()));
    EXPECT_TRUE(IsWindowVisible(everyPage.GetWindow()));

    pages.GetContainerWindow()->SetCurrentPage(0);
    EXPECT_TRUE(IsWindowVisible(first.GetWindow()));
    EXPECT_FALSE(IsWindowVisible(second.GetWindow()));
    EXPECT_TRUE(IsWindowVisible(everyPage.GetWindow()));
}

TEST_F(CVolWinPanelTest, ShowPageLeavesEverythingAloneForANegativePage) {
    CVolWinPanel pages;
    ASSERT_TRUE(CreateIn(pages, form_.GetWindow(), 1));
    RecordingPanel second;
    ASSERT_TRUE(CreateIn(second, pages.GetWindow(), 11, 1));
    pages.GetContainerWindow()->SetCurrentPage(-1);
    EXPECT_TRUE(IsWindowVisible(second.GetWindow()));
}

TEST_F(CVolWinPanelTest, LayerCanBeChangedThroughThePrivateMessage) {
    RecordingPanel panel;
    ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 3, 4));
    EXPECT_EQ(SendMessageW(panel.GetWindow(), VM_SETLAYER, 9, FRAMEWORK_MAGIC), FRAMEWORK_MAGIC);
    std::int32_t layer = 0;
    EXPECT_EQ(SendMessageW(panel.GetWindow(), VM_GETLAYER, reinterpret_cast<WPARAM>(&layer), FRAMEWORK_MAGIC),
              FRAMEWORK_MAGIC);
    EXPECT_EQ(layer, 9);
    // Unsigned, the messages are ordinary ones and change nothing.
    SendMessageW(panel.GetWindow(), VM_SETLAYER, 2, 0);
    EXPECT_EQ(panel.GetNativeObject()->GetLayer(), 9);
}

TEST_F(CVolWinPanelTest, PanelIsNeverATabStopAndAnswersStatic) {
    CVolWinPanel panel;
    panel.GetBridge()->SetStyle(panel.GetBridge()->GetStyle() | WS_TABSTOP);
    ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 3));
    EXPECT_EQ(GetWindowLongW(panel.GetWindow(), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(SendMessageW(panel.GetWindow(), WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    EXPECT_EQ(GetWindowLongPtrW(panel.GetWindow(), GWLP_USERDATA), FRAMEWORK_MAGIC);
    EXPECT_EQ(panel.GetWindowWidth(), 60);
    EXPECT_EQ(panel.GetWindowHeight(), 40);
}

TEST_F(CVolWinPanelTest, TransparentPanelGetsTheTransparentExStyle) {
    CVolWinPanel panel;
    panel.GetContainerWindow()->SetTransparent(true);
    ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 3));
    EXPECT_NE(GetWindowLongW(panel.GetWindow(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
}

TEST_F(CVolWinPanelTest, ContainerEventsFollowTheWindow) {
    EventRecorder moved;
    EventRecorder resized;
    EventRecorder shown;
    EventRecorder hidden;
    EventRecorder destroyed;
    CVolWinPanel panel;
    panel.BindEvent(panel.MovedEvent(), &Record, moved.Holder());
    panel.BindEvent(panel.ResizedEvent(), &Record, resized.Holder());
    panel.BindEvent(panel.ShownEvent(), &Record, shown.Holder());
    panel.BindEvent(panel.HiddenEvent(), &Record, hidden.Holder());
    panel.BindEvent(panel.DestroyedEvent(), &Record, destroyed.Holder());
    ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 3));
    for (EventRecorder* recorder : {&moved, &resized, &shown, &hidden}) {
        recorder->entries.clear();
    }
    SetWindowPos(panel.GetWindow(), nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(panel.GetWindow(), nullptr, 0, 0, 70, 80, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(panel.GetWindow(), SW_HIDE);
    ShowWindow(panel.GetWindow(), SW_SHOW);
    EXPECT_EQ(moved.entries.size(), 1u);
    EXPECT_EQ(resized.entries.size(), 1u);
    EXPECT_EQ(hidden.entries.size(), 1u);
    EXPECT_EQ(shown.entries.size(), 1u);
    DestroyWindow(panel.GetWindow());
    EXPECT_EQ(destroyed.entries.size(), 1u);
}

std::int32_t ConsumeCommand(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t id) {
    EventRecorder::Of(target).Add(std::to_string(id));
    return 1;
}

TEST_F(CVolWinPanelTest, MenuCommandRaisesTheContainerCommand) {
    EventRecorder recorder;
    CVolWinPanel panel;
    panel.BindEvent(panel.CommandEvent(), &ConsumeCommand, recorder.Holder());
    ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 3));
    SendMessageW(panel.GetWindow(), WM_COMMAND, MAKEWPARAM(404, 1), 0);
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"404"});
}

TEST_F(CVolWinPanelTest, FocusPassesToTheFirstTabStopChild) {
    CVolWinPanel panel;
    ASSERT_TRUE(CreateIn(panel, form_.GetWindow(), 3));
    RecordingPanel plain;
    RecordingPanel keyboard;
    keyboard.Native().dialogCode = DLGC_WANTCHARS;  // becomes a tab stop
    ASSERT_TRUE(CreateIn(plain, panel.GetWindow(), 30));
    ASSERT_TRUE(CreateIn(keyboard, panel.GetWindow(), 31));
    SetFocus(panel.GetWindow());
    EXPECT_EQ(GetFocus(), keyboard.GetWindow());
}

RecordingPanel* madeChildren[2] = {nullptr, nullptr};

void MakeTwoChildren(TestForm& form) {
    for (int i = 0; i < 2; ++i) {
        madeChildren[i] = new RecordingPanel;
        ControlCreateInfo info = MakeCreateInfo(form.GetWindow(), &form, 0, 0, 10, 10, 100 + i);
        madeChildren[i]->CreateControl(info);
    }
}

TEST(CVolWinPanelChildren, FormMakesItsChildrenInCreateChildren) {
    TestForm form;
    form.onCreateChildren = &MakeTwoChildren;
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form.CreateControl(info));
    EXPECT_NE(GetDlgItem(form.GetWindow(), 100), nullptr);
    EXPECT_NE(GetDlgItem(form.GetWindow(), 101), nullptr);
    DestroyWindow(form.GetWindow());
    for (RecordingPanel*& child : madeChildren) {
        DestroyObject(child);
        child = nullptr;
    }
}

}  // namespace
