#include <functional>

#include <gtest/gtest.h>

#include "TestWindow.h"
#include "appsvc/CVolWtlAppModule.h"
#include "appsvc/FrameworkMessages.h"
#include "appsvc/RunModalLoop.h"

namespace {

// The modal side of a form, kept by the test.
class FakeModalForm : public IModalLoopOwner {
public:
    explicit FakeModalForm(TestWindow& window) : window_(window) {}

    std::function<void()> onModalStarting;
    int notifications = 0;

    HWND GetModalWindow() const override { return window_.Handle(); }
    int GetModalState() const override { return state_; }
    void SetModalState(int state) override { state_ = state; }
    int GetModalResult() const override { return result_; }
    void SetModalResult(int result) override { result_ = result; }
    void NotifyModalStarting() override {
        ++notifications;
        if (onModalStarting) {
            onModalStarting();
        }
    }
    // What the form does when it closes: store the result, leave the running state.
    void EndModal(int result) {
        result_ = result;
        state_ = kModalIdle;
    }

private:
    TestWindow& window_;
    int state_ = -5;
    int result_ = -5;
};

inline constexpr UINT kEndDialog = WM_APP + 10;

class RunModalLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrainThreadQueue();
        savedMainWindow_ = GetAppModule().GetMainWindow();
        GetAppModule().SetMainWindow(nullptr);
    }
    void TearDown() override {
        GetAppModule().SetMainWindow(savedMainWindow_);
        DrainThreadQueue();
    }

private:
    HWND savedMainWindow_ = nullptr;
};

}  // namespace

TEST_F(RunModalLoopTest, ReturnsTheResultTheFormSetsWhenItEnds) {
    TestWindow window(true);
    FakeModalForm form(window);
    window.handler = [&](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == kEndDialog) {
            form.EndModal(static_cast<int>(wParam));
        }
        return std::nullopt;
    };
    form.onModalStarting = [&] {
        EXPECT_EQ(form.GetModalState(), IModalLoopOwner::kModalRunning);
        EXPECT_EQ(form.GetModalResult(), 0);
        PostMessageW(window.Handle(), WM_APP, 0, 0);
        PostMessageW(window.Handle(), kEndDialog, 7, 0);
        PostMessageW(window.Handle(), WM_APP + 1, 0, 0);  // stays queued: the loop has ended
    };

    EXPECT_EQ(RunModalLoop(form), 7);
    EXPECT_EQ(form.notifications, 1);
    EXPECT_EQ(form.GetModalState(), IModalLoopOwner::kModalIdle);
    EXPECT_TRUE(window.HasReceived(WM_APP));
    EXPECT_FALSE(window.HasReceived(WM_APP + 1));
}

TEST_F(RunModalLoopTest, FormIsTheMainWindowOnlyWhileItsLoopRuns) {
    TestWindow window(true);
    FakeModalForm form(window);
    HWND mainWindowDuringLoop = nullptr;
    window.handler = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kEndDialog) {
            mainWindowDuringLoop = GetAppModule().GetMainWindow();
            form.EndModal(1);
        }
        return std::nullopt;
    };
    form.onModalStarting = [&] { PostMessageW(window.Handle(), kEndDialog, 0, 0); };

    RunModalLoop(form);
    EXPECT_EQ(mainWindowDuringLoop, window.Handle());
    EXPECT_EQ(GetAppModule().GetMainWindow(), nullptr);
    // So destroying the form afterwards posts no quit message.
    window.Destroy();
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(RunModalLoopTest, ExistingMainWindowStaysTheMainWindow) {
    TestWindow mainForm(true);
    GetAppModule().SetMainWindow(mainForm.Handle());
    TestWindow window(true);
    FakeModalForm form(window);
    form.onModalStarting = [&] { form.EndModal(2); };

    EXPECT_EQ(RunModalLoop(form), 2);
    EXPECT_EQ(GetAppModule().GetMainWindow(), mainForm.Handle());
}

TEST_F(RunModalLoopTest, LoopIsNotEnteredWhenTheListenerDestroysTheWindow) {
    TestWindow window(true);
    FakeModalForm form(window);
    form.onModalStarting = [&] {
        PostThreadMessageW(GetCurrentThreadId(), WM_APP + 2, 0, 0);
        window.Destroy();
    };

    EXPECT_EQ(RunModalLoop(form), 0);
    EXPECT_EQ(form.GetModalState(), IModalLoopOwner::kModalIdle);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP + 2, WM_APP + 2, PM_REMOVE));  // nothing was pumped
}

TEST_F(RunModalLoopTest, LoopIsNotEnteredWhenTheListenerEndsTheDialog) {
    TestWindow window(true);
    FakeModalForm form(window);
    form.onModalStarting = [&] {
        PostThreadMessageW(GetCurrentThreadId(), WM_APP + 2, 0, 0);
        form.EndModal(-1);
    };

    EXPECT_EQ(RunModalLoop(form), -1);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP + 2, WM_APP + 2, PM_REMOVE));
}

TEST_F(RunModalLoopTest, QuitMessageEndsTheLoopAndIsPostedAgainForTheOuterLoop) {
    TestWindow window(true);
    FakeModalForm form(window);
    form.onModalStarting = [] { PostQuitMessage(5); };

    EXPECT_EQ(RunModalLoop(form), 0);
    EXPECT_EQ(form.GetModalState(), IModalLoopOwner::kModalIdle);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(RunModalLoopTest, InputTakenByAFrameworkWindowIsNotDispatched) {
    TestWindow window(true);
    window.preTranslateAnswer = FRAMEWORK_MAGIC;
    TestWindow other(false);
    FakeModalForm form(window);
    window.handler = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kEndDialog) {
            form.EndModal(3);
        }
        return std::nullopt;
    };
    form.onModalStarting = [&] {
        PostMessageW(window.Handle(), WM_KEYDOWN, VK_F5, 0);
        PostMessageW(other.Handle(), WM_KEYDOWN, VK_F5, 0);
        PostMessageW(window.Handle(), kEndDialog, 0, 0);
    };

    EXPECT_EQ(RunModalLoop(form), 3);
    EXPECT_TRUE(window.WasOffered(WM_KEYDOWN));
    EXPECT_FALSE(window.HasReceived(WM_KEYDOWN));
    EXPECT_TRUE(other.HasReceived(WM_KEYDOWN));
    EXPECT_FALSE(window.WasOffered(kEndDialog));  // not an input message: dispatched at once
}
