#include <gtest/gtest.h>

#include "RecordingPanel.h"
#include "WindowTestSupport.h"
#include "ui/NotificationReflection.h"

namespace {

class NotificationReflectionTest : public testing::Test {
protected:
    void SetUp() override {
        ControlCreateInfo info = MakeDefaultFormInfo();
        ASSERT_TRUE(form_.CreateControl(info));
        ControlCreateInfo childInfo = MakeCreateInfo(form_.GetWindow(), &form_, 0, 0, 20, 20, 42);
        ASSERT_TRUE(child_.CreateControl(childInfo));
        parent_ = form_.GetWindow();
        window_ = child_.GetWindow();
    }
    void TearDown() override { DestroyWindow(form_.GetWindow()); }

    TestForm form_;
    RecordingPanel child_;
    HWND parent_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(NotificationReflectionTest, FindsTheChildOfEachKindOfNotification) {
    const LPARAM child = reinterpret_cast<LPARAM>(window_);
    EXPECT_EQ(FindNotificationSource(parent_, WM_COMMAND, MAKEWPARAM(42, BN_CLICKED), child), window_);
    EXPECT_EQ(FindNotificationSource(parent_, WM_HSCROLL, 0, child), window_);
    EXPECT_EQ(FindNotificationSource(parent_, WM_VKEYTOITEM, 0, child), window_);
    EXPECT_EQ(FindNotificationSource(parent_, WM_CTLCOLORSTATIC, 0, child), window_);
    EXPECT_EQ(FindNotificationSource(parent_, WM_CTLCOLOREDIT, 0, child), window_);
    NMHDR header{window_, 42, 0};
    EXPECT_EQ(FindNotificationSource(parent_, WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header)), window_);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_BUTTON;
    draw.hwndItem = window_;
    EXPECT_EQ(FindNotificationSource(parent_, WM_DRAWITEM, 42, reinterpret_cast<LPARAM>(&draw)), window_);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = 42;
    EXPECT_EQ(FindNotificationSource(parent_, WM_MEASUREITEM, 42, reinterpret_cast<LPARAM>(&measure)),
              window_);
    EXPECT_EQ(FindNotificationSource(parent_, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 42), child), window_);
    EXPECT_EQ(
        FindNotificationSource(parent_, WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 42), MAKELPARAM(3, 4)),
        window_);
}

TEST_F(NotificationReflectionTest, IgnoresMenusOwnScrollBarsAndOtherMessages) {
    EXPECT_EQ(FindNotificationSource(parent_, WM_COMMAND, MAKEWPARAM(42, 0), 0), nullptr);
    EXPECT_EQ(FindNotificationSource(parent_, WM_VSCROLL, SB_LINEDOWN, 0), nullptr);
    EXPECT_EQ(FindNotificationSource(parent_, WM_NOTIFY, 0, 0), nullptr);
    DRAWITEMSTRUCT menuItem{};
    menuItem.CtlType = ODT_MENU;
    EXPECT_EQ(FindNotificationSource(parent_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menuItem)), nullptr);
    EXPECT_EQ(FindNotificationSource(parent_, WM_SIZE, 0, reinterpret_cast<LPARAM>(window_)), nullptr);
    EXPECT_EQ(FindNotificationSource(parent_, WM_COMMAND, 0, 0x12345678), nullptr);  // not a window
}

TEST_F(NotificationReflectionTest, SendsTheNotificationBackAsMessagePlus0x2000) {
    child_.Native().Forget();
    LRESULT result = -1;
    EXPECT_TRUE(ReflectNotification(parent_, WM_COMMAND, MAKEWPARAM(42, 5), reinterpret_cast<LPARAM>(window_),
                                    result));
    ASSERT_EQ(child_.Native().GetSeen().size(), 1u);
    EXPECT_EQ(child_.Native().GetSeen()[0].message, 0x2111u);
    EXPECT_EQ(child_.Native().GetSeen()[0].wParam, MAKEWPARAM(42, 5));
}

TEST_F(NotificationReflectionTest, UnansweredColourMessageGoesToTheParentsDefault) {
    LRESULT result = -1;
    EXPECT_FALSE(
        ReflectNotification(parent_, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(window_), result));
    EXPECT_TRUE(child_.Native().SawMessage(WM_CTLCOLORSTATIC + 0x2000));
    // Through the form: its default processing answers with a brush.
    const HDC dc = GetDC(window_);
    EXPECT_NE(SendMessageW(parent_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(window_)),
              0);
    ReleaseDC(window_, dc);
}

struct ReflectedCase {
    UINT message;
    bool reflected;
};

class ReflectedMessage : public testing::TestWithParam<ReflectedCase> {};

TEST_P(ReflectedMessage, IsRecognised) {
    EXPECT_EQ(IsReflectedMessage(GetParam().message), GetParam().reflected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReflectedMessage,
                         testing::Values(ReflectedCase{0x202B, true}, ReflectedCase{0x202F, true},
                                         ReflectedCase{0x2039, true}, ReflectedCase{0x204E, true},
                                         ReflectedCase{0x2111, true}, ReflectedCase{0x2114, true},
                                         ReflectedCase{0x2115, true}, ReflectedCase{0x2132, true},
                                         ReflectedCase{0x2138, true}, ReflectedCase{0x2210, true},
                                         ReflectedCase{0x2139, false}, ReflectedCase{0x2112, false},
                                         ReflectedCase{WM_COMMAND, false}, ReflectedCase{0x2000, false}));

TEST(DefaultReflectionHandler, AnswersReflectedMessagesWithTheOriginalsDefault) {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    LRESULT result = -1;
    EXPECT_TRUE(DefaultReflectionHandler(window, 0x2111, 0, 0, result));
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(DefaultReflectionHandler(window, WM_COMMAND, 0, 0, result));
    DestroyWindow(window);
}

}  // namespace
