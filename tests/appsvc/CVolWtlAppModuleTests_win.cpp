#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "TestWindow.h"
#include "appsvc/CMessageLoop.h"
#include "appsvc/CVolWtlAppModule.h"

namespace {

CMessageLoop* LoopSeenFromAnotherThread(const CVolWtlAppModule& module) {
    CMessageLoop* seen = reinterpret_cast<CMessageLoop*>(1);
    std::thread([&] { seen = module.GetMessageLoop(); }).join();
    return seen;
}

}  // namespace

TEST(CVolWtlAppModule, LoopsNeedTheRegistryThatInitCreates) {
    CVolWtlAppModule module;
    CMessageLoop loop;
    EXPECT_FALSE(module.AddMessageLoop(&loop));
    EXPECT_EQ(module.Init(), S_OK);
    EXPECT_EQ(module.GetMainThreadId(), GetCurrentThreadId());
    EXPECT_FALSE(module.AddMessageLoop(nullptr));
    EXPECT_TRUE(module.AddMessageLoop(&loop));
    EXPECT_EQ(module.GetMessageLoop(), &loop);
}

TEST(CVolWtlAppModule, LoopsAreRegisteredPerThread) {
    CVolWtlAppModule module;
    ASSERT_EQ(module.Init(), S_OK);
    CMessageLoop mine;
    CMessageLoop theirs;
    std::thread([&] { module.AddMessageLoop(&theirs); }).join();
    ASSERT_TRUE(module.AddMessageLoop(&mine));

    EXPECT_EQ(module.GetMessageLoop(), &mine);
    EXPECT_EQ(LoopSeenFromAnotherThread(module), nullptr);  // a new thread has no loop
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
    EXPECT_FALSE(module.RemoveMessageLoop());
}

TEST(CVolWtlAppModule, RemovalMovesLaterEntriesDown) {
    CVolWtlAppModule module;
    ASSERT_EQ(module.Init(), S_OK);
    CMessageLoop first;
    CMessageLoop second;
    CMessageLoop* secondSeen = nullptr;
    ASSERT_TRUE(module.AddMessageLoop(&first));
    std::thread([&] {
        module.AddMessageLoop(&second);
        secondSeen = module.GetMessageLoop();
    }).join();
    ASSERT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(secondSeen, &second);
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
}

TEST(CVolWtlAppModule, TermRunsCallbacksOnceAndClosesTheRegistry) {
    CVolWtlAppModule module;
    ASSERT_EQ(module.Init(), S_OK);
    std::vector<int> calls;
    auto record = [](void* context) {
        static_cast<std::vector<int>*>(context)->push_back(
            static_cast<int>(static_cast<std::vector<int>*>(context)->size()));
    };
    ASSERT_TRUE(module.AddTermCallback(record, &calls));
    ASSERT_TRUE(module.AddTermCallback(record, &calls));
    CMessageLoop loop;
    module.AddMessageLoop(&loop);

    module.Term();
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_FALSE(module.HasLoopRegistry());
    EXPECT_FALSE(module.AddMessageLoop(&loop));
    module.Term();  // nothing left to do
    EXPECT_EQ(calls.size(), 2u);
}

TEST(CVolWtlAppModule, DestroyingTheMainWindowPostsQuitWithZero) {
    DrainThreadQueue();
    CVolWtlAppModule module;
    TestWindow mainWindow(true);
    TestWindow other(true);
    module.SetMainWindow(mainWindow.Handle());
    MSG msg;

    EXPECT_FALSE(module.OnWindowDestroyed(other.Handle()));
    EXPECT_FALSE(module.OnWindowDestroyed(nullptr));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    EXPECT_TRUE(module.OnWindowDestroyed(mainWindow.Handle()));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    DrainThreadQueue();
}
