#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "EventRecorder.h"
#include "RecordingPanel.h"
#include "WindowTestSupport.h"
#include "appsvc/IWindowProcFilter.h"
#include "ui/FrameworkWindowMessages.h"

namespace {

class AnsweringFilter : public IWindowProcFilter {
public:
    int Filter(HWND, UINT message, WPARAM, LPARAM, LRESULT* result) override {
        if (message == WM_NCDESTROY) {
            sawNcDestroy = true;
        }
        if (message != WM_USER + 9) {
            return 0;
        }
        *result = 555;
        return 1;
    }
    bool sawNcDestroy = false;
};

class CVWnd_BaseTest : public testing::Test {
protected:
    void SetUp() override {
        ControlCreateInfo info = MakeDefaultFormInfo();
        ASSERT_TRUE(form_.CreateControl(info));
        ControlCreateInfo childInfo = MakeCreateInfo(form_.GetWindow(), &form_, 0, 0, 20, 20, 42);
        ASSERT_TRUE(child_.CreateControl(childInfo));
    }
    void TearDown() override {
        if (form_.GetWindow() != nullptr) {
            DestroyWindow(form_.GetWindow());
        }
        PumpMessages();
    }

    TestForm form_;
    RecordingPanel child_;
};

TEST_F(CVWnd_BaseTest, FilterAddedByMessageTakesMessagesBeforeTheWindow) {
    AnsweringFilter filter;
    const HWND window = child_.GetWindow();
    EXPECT_EQ(SendMessageW(window, VM_ADDFILTER, reinterpret_cast<WPARAM>(&filter), FRAMEWORK_MAGIC),
              FRAMEWORK_MAGIC);
    child_.Native().Forget();
    EXPECT_EQ(SendMessageW(window, WM_USER + 9, 0, 0), 555);
    EXPECT_FALSE(child_.Native().SawMessage(WM_USER + 9));
    EXPECT_EQ(SendMessageW(window, VM_REMOVEFILTER, reinterpret_cast<WPARAM>(&filter), FRAMEWORK_MAGIC),
              FRAMEWORK_MAGIC);
    SendMessageW(window, WM_USER + 9, 0, 0);
    EXPECT_TRUE(child_.Native().SawMessage(WM_USER + 9));
}

TEST_F(CVWnd_BaseTest, FilterSeesTheLastMessageAndTheChainIsEmptiedAfterIt) {
    AnsweringFilter filter;
    SendMessageW(child_.GetWindow(), VM_ADDFILTER, reinterpret_cast<WPARAM>(&filter), FRAMEWORK_MAGIC);
    CVWnd_Base* native = child_.GetNativeObject();
    DestroyWindow(child_.GetWindow());
    EXPECT_TRUE(filter.sawNcDestroy);
    EXPECT_TRUE(native->GetFilters().IsEmpty());
    EXPECT_EQ(native->GetHandle(), nullptr);
    EXPECT_EQ(CVWnd_Base::FromHandle(nullptr), nullptr);
}

std::int32_t ThrowOnUserMessage(CVolObject*, CVolWinControl*, std::uint32_t, HWND, std::uint32_t message,
                                WPARAM, LPARAM, MessageRecord*) {
    if (message == WM_USER + 3) {
        throw std::runtime_error("handler failed");
    }
    return 0;
}

TEST_F(CVWnd_BaseTest, ExceptionFromAHandlerEndsOnlyThatMessage) {
    EventRecorder recorder;
    child_.BindEvent(child_.MessageEvent(), &ThrowOnUserMessage, recorder.Holder());
    EXPECT_EQ(SendMessageW(child_.GetWindow(), WM_USER + 3, 0, 0), 0);
    EXPECT_TRUE(IsWindow(child_.GetWindow()));
    // The window goes on working.
    child_.Native().Forget();
    SendMessageW(child_.GetWindow(), WM_USER + 4, 0, 0);
    EXPECT_TRUE(child_.Native().SawMessage(WM_USER + 4));
}

void ThrowWhileMakingChildren(TestForm&) {
    throw std::runtime_error("no children");
}

TEST(FrameworkWindowCreation, ExceptionWhileMakingChildrenReachesTheCreator) {
    TestForm form;
    form.onCreateChildren = &ThrowWhileMakingChildren;
    ControlCreateInfo info = MakeDefaultFormInfo();
    EXPECT_THROW(form.CreateControl(info), std::runtime_error);
    EXPECT_EQ(form.GetWindow(), nullptr);
    // Nothing is left over for the next creation.
    TestForm next;
    ControlCreateInfo nextInfo = MakeDefaultFormInfo();
    EXPECT_TRUE(next.CreateControl(nextInfo));
    DestroyWindow(next.GetWindow());
}

void MakeThrowingChild(TestForm& form) {
    TestForm child(10, 10);
    child.onCreateChildren = &ThrowWhileMakingChildren;
    ControlCreateInfo info = MakeCreateInfo(form.GetWindow(), &form, 0, 0, 10, 10, 5);
    child.CreateControl(info);
}

TEST(FrameworkWindowCreation, ExceptionFromANestedChildReachesTheOutermostCreator) {
    TestForm form;
    form.onCreateChildren = &MakeThrowingChild;
    ControlCreateInfo info = MakeDefaultFormInfo();
    EXPECT_THROW(form.CreateControl(info), std::runtime_error);
    EXPECT_EQ(form.GetWindow(), nullptr);
}

}  // namespace
