#pragma once

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

// A visible top-level test form for controls, shared by the tests of one suite (showing and hiding a
// top-level window is slow under Wine). Child windows a test leaves behind are destroyed after it.
class FormFixture : public testing::Test {
protected:
    static void SetUpTestSuite() {
        form_ = new TestForm(400, 300);
        ControlCreateInfo info = MakeDefaultFormInfo();
        form_->CreateControl(info);
        formWindow_ = form_->GetWindow();
    }

    static void TearDownTestSuite() {
        if (formWindow_ != nullptr && IsWindow(formWindow_)) {
            DestroyWindow(formWindow_);
        }
        delete form_;
        form_ = nullptr;
        formWindow_ = nullptr;
        PumpMessages();
        TakeQuitMessage();
    }

    void SetUp() override {
        ASSERT_NE(formWindow_, nullptr);
        ASSERT_TRUE(IsWindowVisible(formWindow_));
    }

    void TearDown() override {
        while (const HWND child = GetWindow(formWindow_, GW_CHILD)) {
            DestroyWindow(child);
        }
        PumpMessages();
    }

    // Creates `control` as a child of the form, the form as its owner.
    static bool CreateChild(CVolWinControl& control, int x, int y, int width, int height, int id) {
        ControlCreateInfo info = MakeCreateInfo(formWindow_, form_, x, y, width, height, id);
        return control.CreateControl(info);
    }

    static inline TestForm* form_ = nullptr;
    static inline HWND formWindow_ = nullptr;
};
