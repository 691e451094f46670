#include <gtest/gtest.h>

#include <stdexcept>

#include "app/main_form/EventBoundary.h"
#include "app/main_form/MainFormLayout.h"
#include "tests/app/MainFormHarness.h"
#include "ui/CVolWinForm.h"

namespace {

// A status line in a window of its own.
class EventBoundary : public testing::Test {
protected:
    EventBoundary() {
        ControlCreateInfo formInfo;
        formInfo.x = 50;
        formInfo.y = 50;
        formInfo.width = 520;
        formInfo.height = 160;
        form_.CreateControl(formInfo);
        label_.SetText(u"before");
        label_.SetFontFromText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
        ControlCreateInfo labelInfo;
        labelInfo.parent = form_.GetWindow();
        labelInfo.owner = &form_;
        labelInfo.width = 496;
        labelInfo.height = 37;
        labelInfo.id = STATUS_LABEL_ID;
        label_.CreateControl(labelInfo);
        PumpMessages();
    }
    ~EventBoundary() override {
        DestroyWindow(form_.GetWindow());
        PumpMessages();
    }

    std::u16string Text() const { return WindowText(label_.GetWindow()); }
    int RedPixels() const { return CountPixels(label_.GetWindow(), STATUS_FAILURE_COLOR); }

    CVolWinForm form_;
    CVolWinLabel label_;
};

TEST_F(EventBoundary, VolExceptionShowsTheCatcherTextWithCodeAndDescriptionInRed) {
    RunAtEventBoundary(label_, [] { throw CVolException(5, u"abc"); });
    EXPECT_EQ(Text(), u"俘获到异常,代码值为: 5, 描述为: abc");
    EXPECT_GT(RedPixels(), 0);
}

TEST_F(EventBoundary, AnyOtherExceptionShowsTheUnmanagedText) {
    const struct {
        const char* what;
        void (*work)();
    } rows[] = {
        {"standard exception", [] { throw std::runtime_error("directory_iterator::directory_iterator"); }},
        {"allocation failure", [] { throw std::bad_alloc(); }},
        {"not an exception class", [] { throw 42; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        label_.SetText(u"before");
        RunAtEventBoundary(label_, row.work);
        EXPECT_EQ(Text(), u"程序在运行时抛出了未被管理的异常");
        EXPECT_GT(RedPixels(), 0);
    }
}

TEST_F(EventBoundary, WorkThatReturnsLeavesTheStatusLineAlone) {
    bool ran = false;
    RunAtEventBoundary(label_, [&ran] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(Text(), u"before");
    EXPECT_EQ(RedPixels(), 0);
}

TEST_F(EventBoundary, WhatTheWorkDidBeforeItThrewStays) {
    RunAtEventBoundary(label_, [this] {
        label_.SetText(u"");
        throw CVolException(-7, u"");
    });
    EXPECT_EQ(Text(), u"俘获到异常,代码值为: -7, 描述为: ");
}

}  // namespace
