#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestWindow.h"
#include "appsvc/CMessageLoop.h"
#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolMainMessageLoop.h"
#include "appsvc/CVolWinApp.h"

namespace {

// An application whose hooks are scripted by the test and which counts idle calls.
class ScriptedApp : public CVolWinApp {
public:
    int idleCalls = 0;
    std::vector<int> idleArguments;
    std::vector<std::string>* trace = nullptr;
    std::function<void(int idleCall)> onIdle;
    std::function<int(const MSG& msg)> onPreTranslate;

    int OnIdle(int reserved) override {
        ++idleCalls;
        idleArguments.push_back(reserved);
        if (trace != nullptr) {
            trace->push_back("app idle");
        }
        if (onIdle) {
            onIdle(idleCalls);
        }
        return 0;
    }
    int OnPreTranslateMessage(HWND, UINT, WPARAM, LPARAM, MSG* msg) override {
        return onPreTranslate ? onPreTranslate(*msg) : 1;
    }
};

class RecordingIdleHandler : public IIdleHandler {
public:
    RecordingIdleHandler(std::vector<std::string>& trace, std::string name)
        : trace_(trace), name_(std::move(name)) {}
    bool OnIdle() override {
        trace_.push_back(name_);
        return true;  // ignored by the loop
    }

private:
    std::vector<std::string>& trace_;
    std::string name_;
};

class TakingFilter : public IMessageFilter {
public:
    TakingFilter(std::vector<std::string>& trace, std::string name, UINT takes)
        : trace_(trace), name_(std::move(name)), takes_(takes) {}
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYUP || msg->message == WM_APP) {
            trace_.push_back(name_);
        }
        return msg->message == takes_;
    }

private:
    std::vector<std::string>& trace_;
    std::string name_;
    UINT takes_;
};

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override { DrainThreadQueue(); }
    void TearDown() override { DrainThreadQueue(); }
};

}  // namespace

TEST(IsIdleMessage, OnlyMouseMovesPaintAndCaretBlinkKeepIdleWorkOff) {
    const struct {
        UINT message;
        bool restartsIdle;
    } cases[] = {
        {WM_MOUSEMOVE, false}, {WM_NCMOUSEMOVE, false}, {WM_PAINT, false},  {0x118, false},
        {WM_KEYDOWN, true},    {WM_LBUTTONDOWN, true},  {WM_TIMER, true},   {WM_APP, true},
        {WM_NULL, true},       {WM_MOUSEWHEEL, true},   {WM_NCPAINT, true}, {WM_CHAR, true},
    };
    CMessageLoop loop;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        MSG msg{};
        msg.message = c.message;
        EXPECT_EQ(loop.IsIdleMessage(&msg), c.restartsIdle);
    }
}

TEST_F(MainLoopTest, MouseMovesAndPaintAloneCauseNoFurtherIdleCall) {
    ScriptedApp app;
    UINT_PTR timer = 0;
    app.onIdle = [&timer](int idleCall) {
        if (idleCall == 1) {
            const DWORD thread = GetCurrentThreadId();
            for (int i = 0; i < 3; ++i) {
                PostThreadMessageW(thread, WM_MOUSEMOVE, 0, i);
            }
            PostThreadMessageW(thread, WM_NCMOUSEMOVE, 0, 0);
            PostThreadMessageW(thread, WM_PAINT, 0, 0);
            PostThreadMessageW(thread, 0x118, 0, 0);
            // Arrives only after the queue has run dry behind the burst.
            timer = SetTimer(nullptr, 0, 20, nullptr);
        } else {
            PostQuitMessage(42);
        }
    };
    std::vector<int> idleCallsSeenByBurst;
    int idleCallsWhenTimerArrived = -1;
    app.onPreTranslate = [&](const MSG& msg) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE || msg.message == WM_PAINT ||
            msg.message == 0x118) {
            idleCallsSeenByBurst.push_back(app.idleCalls);
        }
        if (msg.message == WM_TIMER && idleCallsWhenTimerArrived < 0) {
            KillTimer(nullptr, timer);
            idleCallsWhenTimerArrived = app.idleCalls;
        }
        return 1;
    };
    CVolMainMessageLoop loop(&app);

    EXPECT_EQ(loop.Run(), 42);
    EXPECT_EQ(idleCallsSeenByBurst, std::vector<int>(6, 1));
    // The queue ran dry after the burst, yet idle work did not run again until the timer message.
    EXPECT_EQ(idleCallsWhenTimerArrived, 1);
    EXPECT_EQ(app.idleCalls, 2);
}

TEST_F(MainLoopTest, BurstOfKeyMessagesCausesExactlyOneIdleCall) {
    ScriptedApp app;
    std::vector<int> idleCallsPerKey;
    app.onIdle = [](int idleCall) {
        if (idleCall == 1) {
            const DWORD thread = GetCurrentThreadId();
            PostThreadMessageW(thread, WM_KEYDOWN, VK_F5, 0);
            PostThreadMessageW(thread, WM_KEYUP, VK_F5, 0);
            PostThreadMessageW(thread, WM_KEYDOWN, VK_F6, 0);
        } else {
            PostQuitMessage(0);
        }
    };
    app.onPreTranslate = [&](const MSG& msg) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
            idleCallsPerKey.push_back(app.idleCalls);
        }
        return 1;
    };
    CVolMainMessageLoop loop(&app);

    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(idleCallsPerKey, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(app.idleCalls, 2);
    EXPECT_EQ(app.idleArguments, (std::vector<int>{0, 0}));  // the hook always gets 0
}

TEST_F(MainLoopTest, IdleRunsApplicationHookBeforeIdleHandlersInOrder) {
    std::vector<std::string> trace;
    ScriptedApp app;
    app.trace = &trace;
    app.onIdle = [](int) { PostQuitMessage(3); };
    RecordingIdleHandler first(trace, "first");
    RecordingIdleHandler second(trace, "second");
    CVolMainMessageLoop loop(&app);
    loop.AddIdleHandler(&first);
    loop.AddIdleHandler(&second);

    EXPECT_EQ(loop.Run(), 3);
    // One idle call although every handler asked for more.
    EXPECT_EQ(trace, (std::vector<std::string>{"app idle", "first", "second"}));
}

TEST_F(MainLoopTest, ApplicationHookThatSwallowsKeyDownKeepsItFromEveryWindow) {
    TestWindow framework(true);
    ASSERT_NE(framework.Handle(), nullptr);
    ScriptedApp app;
    app.onPreTranslate = [](const MSG& msg) { return msg.message == WM_KEYDOWN ? 0 : 1; };
    app.onIdle = [&](int idleCall) {
        if (idleCall == 1) {
            PostMessageW(framework.Handle(), WM_KEYDOWN, VK_F5, 0);
            PostMessageW(framework.Handle(), WM_KEYUP, VK_F5, 0);
        } else {
            PostQuitMessage(0);
        }
    };
    CVolMainMessageLoop loop(&app);

    loop.Run();
    EXPECT_FALSE(framework.WasOffered(WM_KEYDOWN));
    EXPECT_FALSE(framework.HasReceived(WM_KEYDOWN));
    // The key-up went the normal way: offered to the framework window, declined, dispatched.
    EXPECT_TRUE(framework.WasOffered(WM_KEYUP));
    EXPECT_TRUE(framework.HasReceived(WM_KEYUP));
}

TEST_F(MainLoopTest, FiltersRunLastAddedFirstAfterTheHookAndBeforeFrameworkWindows) {
    TestWindow framework(true);
    std::vector<std::string> trace;
    TakingFilter older(trace, "older", 0);
    TakingFilter newer(trace, "newer", WM_KEYUP);
    ScriptedApp app;
    app.onIdle = [&](int idleCall) {
        if (idleCall == 1) {
            PostMessageW(framework.Handle(), WM_KEYUP, VK_F5, 0);
            PostMessageW(framework.Handle(), WM_APP, 0, 0);
        } else {
            PostQuitMessage(0);
        }
    };
    CVolMainMessageLoop loop(&app);
    loop.AddMessageFilter(&older);
    loop.AddMessageFilter(&newer);

    loop.Run();
    // The key-up was taken by the newer filter: the older one, the window's pre-translation and the
    // dispatch never saw it. WM_APP passed both filters and was dispatched.
    EXPECT_EQ(trace, (std::vector<std::string>{"newer", "newer", "older"}));
    EXPECT_FALSE(framework.WasOffered(WM_KEYUP));
    EXPECT_FALSE(framework.HasReceived(WM_KEYUP));
    EXPECT_TRUE(framework.HasReceived(WM_APP));
}

TEST_F(MainLoopTest, LoopWithoutApplicationStillPumpsAndEndsWithQuitCode) {
    TestWindow plain(false);
    CVolMainMessageLoop loop(nullptr);
    PostMessageW(plain.Handle(), WM_KEYDOWN, VK_F5, 0);
    PostMessageW(plain.Handle(), WM_APP + 1, 0, 0);
    PostQuitMessage(17);

    EXPECT_EQ(loop.Run(), 17);
    EXPECT_TRUE(plain.HasReceived(WM_KEYDOWN));
    EXPECT_TRUE(plain.HasReceived(WM_APP + 1));
}

TEST_F(MainLoopTest, IdleCallSweepsTheInstanceWorkerPool) {
    class FinishedWorker : public PooledWorker {
    public:
        bool released = false;
        void Release() override { released = true; }
    };
    WorkerPool& pool = GetAppInstance().GetWorkerPool();
    pool.ShutDown();
    std::uint32_t tick = 50000;
    pool.SetTickSource([&tick] { return tick; });
    FinishedWorker worker;  // state 0: finished
    pool.Add(&worker);
    ScriptedApp app;
    app.onIdle = [](int) { PostQuitMessage(0); };
    CVolMainMessageLoop loop(&app);

    loop.Run();
    EXPECT_TRUE(worker.released);
    EXPECT_EQ(pool.GetCount(), 0);
    pool.SetTickSource({});
    pool.ShutDown();
}

TEST(CMessageLoop, FilterAndHandlerArraysRefuseNullAndDuplicates) {
    std::vector<std::string> trace;
    TakingFilter filter(trace, "f", 0);
    RecordingIdleHandler handler(trace, "h");
    CMessageLoop loop;
    EXPECT_FALSE(loop.AddMessageFilter(nullptr));
    EXPECT_TRUE(loop.AddMessageFilter(&filter));
    EXPECT_FALSE(loop.AddMessageFilter(&filter));
    EXPECT_EQ(loop.GetFilterCount(), 1);
    EXPECT_TRUE(loop.AddIdleHandler(&handler));
    EXPECT_FALSE(loop.AddIdleHandler(&handler));
    EXPECT_TRUE(loop.RemoveMessageFilter(&filter));
    EXPECT_FALSE(loop.RemoveMessageFilter(&filter));
    EXPECT_TRUE(loop.RemoveIdleHandler(&handler));
    EXPECT_EQ(loop.GetIdleHandlerCount(), 0);
}
