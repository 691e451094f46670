#include <gtest/gtest.h>

#include "TestWindow.h"
#include "appsvc/FrameworkMessages.h"
#include "appsvc/FrameworkPreTranslate.h"

namespace {

MSG MessageFor(HWND window, UINT message) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    return msg;
}

}  // namespace

TEST(FrameworkPreTranslate, ConsidersOnlyKeyboardAndMouseRanges) {
    const struct {
        UINT message;
        bool offered;
    } cases[] = {
        {0xFF, false}, {WM_KEYDOWN, true}, {0x109, true},  {0x10A, false},  {0x1FF, false},
        {0x200, true}, {0x20E, true},      {0x20F, false}, {WM_APP, false}, {WM_PAINT, false},
    };
    TestWindow framework(true);
    framework.preTranslateAnswer = FRAMEWORK_MAGIC;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        framework.offered.clear();
        MSG msg = MessageFor(framework.Handle(), c.message);
        EXPECT_EQ(FrameworkPreTranslate(&msg), c.offered);
        EXPECT_EQ(framework.WasOffered(c.message), c.offered);
    }
}

TEST(FrameworkPreTranslate, ThreadMessageIsNeverTaken) {
    MSG msg = MessageFor(nullptr, WM_KEYDOWN);
    EXPECT_FALSE(FrameworkPreTranslate(&msg));
}

TEST(FrameworkPreTranslate, ChildOfMarkedFormReachesTheFormThroughTheParentWalk) {
    TestWindow form(true);
    form.preTranslateAnswer = FRAMEWORK_MAGIC;
    TestWindow control(false, form.Handle(), WS_CHILD);
    ASSERT_NE(control.Handle(), nullptr);
    MSG msg = MessageFor(control.Handle(), WM_KEYDOWN);

    EXPECT_TRUE(FrameworkPreTranslate(&msg));
    EXPECT_TRUE(form.WasOffered(WM_KEYDOWN));
    EXPECT_TRUE(control.offered.empty());  // not marked: never asked
}

TEST(FrameworkPreTranslate, MarkedChildThatDeclinesPassesTheMessageUp) {
    TestWindow form(true);
    form.preTranslateAnswer = FRAMEWORK_MAGIC;
    TestWindow panel(true, form.Handle(), WS_CHILD);
    panel.preTranslateAnswer = 1;  // anything but the magic value declines
    MSG msg = MessageFor(panel.Handle(), WM_LBUTTONDOWN);

    EXPECT_TRUE(FrameworkPreTranslate(&msg));
    EXPECT_TRUE(panel.WasOffered(WM_LBUTTONDOWN));
    EXPECT_TRUE(form.WasOffered(WM_LBUTTONDOWN));
}

TEST(FrameworkPreTranslate, MarkedChildThatTakesStopsTheWalk) {
    TestWindow form(true);
    form.preTranslateAnswer = FRAMEWORK_MAGIC;
    TestWindow panel(true, form.Handle(), WS_CHILD);
    panel.preTranslateAnswer = FRAMEWORK_MAGIC;
    MSG msg = MessageFor(panel.Handle(), WM_KEYUP);

    EXPECT_TRUE(FrameworkPreTranslate(&msg));
    EXPECT_TRUE(form.offered.empty());
}

TEST(FrameworkPreTranslate, WalkEndsAtTheFirstTopLevelWindow) {
    // A popup's parent is its owner, but a popup is top-level: its owner is not asked.
    TestWindow owner(true);
    owner.preTranslateAnswer = FRAMEWORK_MAGIC;
    TestWindow popup(false, owner.Handle(), WS_POPUP);
    ASSERT_NE(popup.Handle(), nullptr);
    MSG msg = MessageFor(popup.Handle(), WM_KEYDOWN);

    EXPECT_FALSE(FrameworkPreTranslate(&msg));
    EXPECT_TRUE(owner.offered.empty());
}

TEST(FrameworkPreTranslate, ForeignTopLevelWindowIsNotTaken) {
    TestWindow foreign(false);
    foreign.preTranslateAnswer = FRAMEWORK_MAGIC;  // would take it, but carries no mark
    MSG msg = MessageFor(foreign.Handle(), WM_KEYDOWN);
    EXPECT_FALSE(FrameworkPreTranslate(&msg));
    EXPECT_TRUE(foreign.offered.empty());
}
