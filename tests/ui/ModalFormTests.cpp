#include <gtest/gtest.h>

#include <string>

#include "EventRecorder.h"
#include "WindowTestSupport.h"
#include "appsvc/CVolWtlAppModule.h"

namespace {

// What the modal form saw while its loop was starting.
struct ModalObservation {
    HWND mainWindowDuringLoop = nullptr;
    HWND formWindow = nullptr;
    HWND owner = nullptr;
    LONG style = 0;
    LONG exStyle = 0;
    bool otherEnabledDuringLoop = true;
    HWND other = nullptr;
    int action = 0;  // 0 close, 1 end with 42, 2 destroy the window, 3 a key in an edit box
    UINT key = 0;    // action 3: the key pressed in an edit box of the form, which then ends with 42
};

inline constexpr UINT kEndWith42 = WM_USER + 2;

ModalObservation observed;

std::int32_t OnModalStarting(CVolObject*, CVolWinControl* sender, std::uint32_t) {
    auto& form = static_cast<CVolWinForm&>(*sender);
    observed.formWindow = form.GetWindow();
    observed.mainWindowDuringLoop = GetAppModule().GetMainWindow();
    observed.owner = GetWindow(form.GetWindow(), GW_OWNER);
    observed.style = GetWindowLongW(form.GetWindow(), GWL_STYLE);
    observed.exStyle = GetWindowLongW(form.GetWindow(), GWL_EXSTYLE);
    if (observed.other != nullptr) {
        observed.otherEnabledDuringLoop = IsWindowEnabled(observed.other) != FALSE;
    }
    switch (observed.action) {
        case 0:
            PostMessageW(form.GetWindow(), WM_CLOSE, 0, 0);
            break;
        case 1:
            form.EndModal(42);
            break;
        case 2:
            PostMessageW(form.GetWindow(), WM_USER + 1, 0, 0);  // handled by the Message event below
            break;
        default: {
            // As the keyboard delivers it: to the focused edit box, through the modal loop. When the
            // key leaves the form open, the next message ends it with 42.
            const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 80,
                                              20, form.GetWindow(), nullptr, nullptr, nullptr);
            SetFocus(edit);
            PostMessageW(edit, WM_KEYDOWN, observed.key, 1);
            PostMessageW(edit, WM_KEYUP, observed.key, 0xC0000001);
            PostMessageW(form.GetWindow(), kEndWith42, 0, 0);
            break;
        }
    }
    return 0;
}

std::int32_t DestroyOnUserMessage(CVolObject*, CVolWinControl* sender, std::uint32_t, HWND window,
                                  std::uint32_t message, WPARAM, LPARAM, MessageRecord*) {
    if (message == WM_USER + 1) {
        DestroyWindow(window);
        return 1;
    }
    if (message == kEndWith42) {
        static_cast<CVolWinForm&>(*sender).EndModal(42);
        return 1;
    }
    return 0;
}

std::int32_t RecordCommand(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t id) {
    EventRecorder::Of(target).Add("command " + std::to_string(id));
    return 0;
}

std::int32_t RecordClosing(CVolObject* target, CVolWinControl*, std::uint32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add("closing");
    return recorder.answer;
}

class ModalFormTest : public testing::Test {
protected:
    void SetUp() override {
        observed = ModalObservation{};
        GetAppModule().SetMainWindow(nullptr);
        TakeQuitMessage();
        form_.BindEvent(form_.ModalStartingEvent(), &OnModalStarting, recorder_.Holder());
        form_.BindEvent(form_.MessageEvent(), &DestroyOnUserMessage, recorder_.Holder());
    }
    void TearDown() override {
        GetAppModule().SetMainWindow(nullptr);
        PumpMessages();
        TakeQuitMessage();
    }

    std::int32_t ShowModal(int dialogFrame = 0) {
        ControlCreateInfo info = MakeDefaultFormInfo();
        info.modal = 1;
        info.dialogFrame = dialogFrame;
        EXPECT_TRUE(form_.CreateControl(info));
        return info.modalResult;
    }

    EventRecorder recorder_;
    TestForm form_{200, 100};
};

TEST_F(ModalFormTest, FormWithoutMainWindowIsMainOnlyDuringItsLoopAndPostsNoQuit) {
    EXPECT_EQ(ShowModal(), -1);  // closed
    EXPECT_NE(observed.formWindow, nullptr);
    EXPECT_EQ(observed.mainWindowDuringLoop, observed.formWindow);
    EXPECT_EQ(GetAppModule().GetMainWindow(), nullptr);
    EXPECT_FALSE(IsWindow(observed.formWindow));
    EXPECT_EQ(form_.GetWindow(), nullptr);
    EXPECT_FALSE(TakeQuitMessage());
}

TEST_F(ModalFormTest, EndModalGivesItsResult) {
    observed.action = 1;
    EXPECT_EQ(ShowModal(), 42);
    EXPECT_FALSE(IsWindow(observed.formWindow));
}

TEST_F(ModalFormTest, DestroyingTheWindowEndsTheLoopWithMinusOne) {
    // With a real main window, the destroyed modal form is not the main one: no quit either.
    TestForm main;
    ControlCreateInfo mainInfo = MakeDefaultFormInfo();
    ASSERT_TRUE(main.CreateControl(mainInfo));
    GetAppModule().SetMainWindow(main.GetWindow());
    observed.action = 2;
    EXPECT_EQ(ShowModal(), -1);
    EXPECT_EQ(observed.mainWindowDuringLoop, main.GetWindow());
    EXPECT_EQ(observed.owner, main.GetWindow());
    EXPECT_FALSE(TakeQuitMessage());
    GetAppModule().SetMainWindow(nullptr);
    DestroyWindow(main.GetWindow());
}

TEST_F(ModalFormTest, OtherWindowsAreDisabledDuringTheLoopAndEnabledAfter) {
    TestForm other;
    ControlCreateInfo otherInfo = MakeDefaultFormInfo();
    ASSERT_TRUE(other.CreateControl(otherInfo));
    observed.other = other.GetWindow();
    ShowModal();
    EXPECT_FALSE(observed.otherEnabledDuringLoop);
    EXPECT_TRUE(IsWindowEnabled(other.GetWindow()));
    DestroyWindow(other.GetWindow());
}

TEST_F(ModalFormTest, ModalFormIsAPopupAndItsOwnWindowStaysEnabled) {
    ShowModal();
    EXPECT_NE(observed.style & WS_POPUP, 0);
    EXPECT_NE(observed.style & WS_VISIBLE, 0);
    EXPECT_EQ(observed.style & WS_DISABLED, 0);
    EXPECT_NE(observed.exStyle & WS_EX_DLGMODALFRAME, 0);
}

TEST_F(ModalFormTest, DialogFrameGivesTheFixedDialogStyle) {
    ShowModal(1);
    // The system adds WS_CLIPSIBLINGS to top-level windows by itself.
    EXPECT_EQ(static_cast<DWORD>(observed.style) & 0xFFFF0000u & ~static_cast<DWORD>(WS_CLIPSIBLINGS),
              0x92C80000u);
    EXPECT_NE(observed.exStyle & WS_EX_DLGMODALFRAME, 0);
}

class ModalFormKeys : public ModalFormTest {
protected:
    void SetUp() override {
        ModalFormTest::SetUp();
        observed.action = 3;
        form_.BindEvent(form_.FormCommandEvent(), &RecordCommand, recorder_.Holder());
        form_.BindEvent(form_.CommandEvent(), &RecordCommand, recorder_.Holder());
        form_.BindEvent(form_.ClosingEvent(), &RecordClosing, recorder_.Holder());
        recorder_.answer = 1;
    }
};

TEST_F(ModalFormKeys, EscInAnEditBoxClosesTheFormAsItsCloseBoxWould) {
    observed.key = VK_ESCAPE;
    EXPECT_EQ(ShowModal(), CVWnd_WinForm::kModalClosed);
    EXPECT_EQ(recorder_.entries, std::vector<std::string>{"closing"});
}

TEST_F(ModalFormKeys, EscLeavesTheFormOpenWhenClosingRefuses) {
    observed.key = VK_ESCAPE;
    recorder_.answer = 0;
    EXPECT_EQ(ShowModal(), 42);
    EXPECT_EQ(recorder_.entries, std::vector<std::string>{"closing"});
}

TEST_F(ModalFormKeys, EnterWithoutADefaultButtonNeitherClosesNorRaisesACommand) {
    observed.key = VK_RETURN;
    EXPECT_EQ(ShowModal(), 42);
    EXPECT_TRUE(recorder_.entries.empty());
}

TEST_F(ModalFormTest, FormCanBeShownAgainAfterItsLoop) {
    EXPECT_EQ(ShowModal(), -1);
    observed.action = 1;
    EXPECT_EQ(ShowModal(), 42);
}

}  // namespace
