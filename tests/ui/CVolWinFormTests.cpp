#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "EventRecorder.h"
#include "RecordingPanel.h"
#include "WindowTestSupport.h"
#include "appsvc/CVolMainMessageLoop.h"
#include "appsvc/CVolWtlAppModule.h"
#include "ui/CRefVolMenu.h"
#include "ui/CVolWinButton.h"
#include "ui/CVolWinEdit.h"
#include "ui/FrameworkWindowMessages.h"

namespace {

std::int32_t RecordNamed(CVolObject* target, CVolWinControl*, std::uint32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add("event");
    return recorder.answer;
}

std::int32_t RecordId(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t id) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add(std::to_string(id));
    return recorder.answer;
}

// Destroys leftover windows even when an expectation failed half way.
class CVolWinFormTest : public testing::Test {
protected:
    void TearDown() override {
        if (GetAppModule().GetMainWindow() != nullptr) {
            GetAppModule().SetMainWindow(nullptr);
        }
        for (TestForm* form : {&form_}) {
            if (form->GetWindow() != nullptr) {
                DestroyWindow(form->GetWindow());
            }
        }
        PumpMessages();
        TakeQuitMessage();
    }

    TestForm form_{633, 267};
};

TEST_F(CVolWinFormTest, DefaultSizeComesFromTheClientSizeAndTheFrameAndIsCentred) {
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    RECT expected{0, 0, 633, 267};
    AdjustWindowRectEx(&expected, info.style, FALSE, info.exStyle);
    const int width = expected.right - expected.left;
    const int height = expected.bottom - expected.top;
    EXPECT_EQ(info.width, width);
    EXPECT_EQ(info.height, height);
    EXPECT_EQ(form_.GetWindowWidth(), width);
    EXPECT_EQ(form_.GetWindowHeight(), height);
    RECT client{};
    GetClientRect(form_.GetWindow(), &client);
    EXPECT_EQ(client.right, 633);
    EXPECT_EQ(client.bottom, 267);
    RECT bounds{};
    GetWindowRect(form_.GetWindow(), &bounds);
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

TEST_F(CVolWinFormTest, DefaultPositionWithoutCentringStartsAtTheScreenCentreToo) {
    form_.GetFormWindow()->SetStartMode(CVWnd_WinForm::kStartAtPosition);
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    EXPECT_EQ(info.x, (GetSystemMetrics(SM_CXSCREEN) - info.width) / 2);
    EXPECT_EQ(info.y, (GetSystemMetrics(SM_CYSCREEN) - info.height) / 2);
}

TEST_F(CVolWinFormTest, ExplicitPositionIsKeptWithoutCentring) {
    form_.GetFormWindow()->SetStartMode(CVWnd_WinForm::kStartAtPosition);
    ControlCreateInfo info = MakeCreateInfo(nullptr, nullptr, 40, 30, 200, 150);
    ASSERT_TRUE(form_.CreateControl(info));
    RECT bounds{};
    GetWindowRect(form_.GetWindow(), &bounds);
    EXPECT_EQ(bounds.left, 40);
    EXPECT_EQ(bounds.top, 30);
    EXPECT_EQ(bounds.right - bounds.left, 200);
    EXPECT_EQ(form_.GetWindowWidth(), 200);
}

struct ZeroClientCase {
    std::int32_t width;
    std::int32_t height;
};

class ZeroClientSize : public CVolWinFormTest, public testing::WithParamInterface<ZeroClientCase> {};

TEST_P(ZeroClientSize, GivesAZeroByZeroWindow) {
    TestForm form(GetParam().width, GetParam().height);
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form.CreateControl(info));
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(form.GetWindowWidth(), 0);
    EXPECT_EQ(form.GetWindowHeight(), 0);
    DestroyWindow(form.GetWindow());
}

INSTANTIATE_TEST_SUITE_P(Rows, ZeroClientSize,
                         testing::Values(ZeroClientCase{0, 0}, ZeroClientCase{0, 267}, ZeroClientCase{633, 0},
                                         ZeroClientCase{-5, 10}));

TEST_F(CVolWinFormTest, ChildFormAtDefaultPositionSitsAtTheOrigin) {
    ControlCreateInfo parentInfo = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(parentInfo));
    TestForm child(100, 80);
    ControlCreateInfo info =
        MakeCreateInfo(form_.GetWindow(), &form_, ControlCreateInfo::kDefault, ControlCreateInfo::kDefault,
                       ControlCreateInfo::kDefault, ControlCreateInfo::kDefault, 12);
    ASSERT_TRUE(child.CreateControl(info));
    EXPECT_NE(info.style & WS_CHILD, 0u);
    EXPECT_EQ(info.x, 0);
    EXPECT_EQ(info.y, 0);
    EXPECT_EQ(GetParent(child.GetWindow()), form_.GetWindow());
}

TEST_F(CVolWinFormTest, DefaultFrameIsAFixedCaptionWithSystemMenuAndMinimiseBox) {
    form_.SetText(u"标题");
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    const LONG style = GetWindowLongW(form_.GetWindow(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(style & WS_CLIPCHILDREN, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_CHILD, 0);
    EXPECT_NE(GetWindowLongW(form_.GetWindow(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
    EXPECT_EQ(GetWindowLongPtrW(form_.GetWindow(), GWLP_USERDATA), FRAMEWORK_MAGIC);
    EXPECT_EQ(WindowText(form_.GetWindow()), u"标题");
}

struct BorderCase {
    int kind;
    DWORD style;    // of WS_THICKFRAME and WS_CAPTION
    DWORD exStyle;  // of WS_EX_TOOLWINDOW and WS_EX_CLIENTEDGE
};

class FormBorder : public testing::TestWithParam<BorderCase> {};

TEST_P(FormBorder, BorderKindSetsFrameStyles) {
    CVWnd_WinForm native;
    native.SetBorderKind(GetParam().kind);
    native.SetMinimizeBox(false);
    ControlCreateInfo info;
    info.text = u"t";
    native.CompleteCreateInfo(info);
    EXPECT_EQ(info.style & (WS_THICKFRAME | WS_CAPTION), GetParam().style);
    EXPECT_EQ(info.exStyle & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE), GetParam().exStyle);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormBorder,
                         testing::Values(BorderCase{0, 0, 0}, BorderCase{1, WS_THICKFRAME | WS_CAPTION, 0},
                                         BorderCase{2, WS_CAPTION, 0},
                                         BorderCase{3, WS_THICKFRAME | WS_CAPTION, WS_EX_TOOLWINDOW},
                                         BorderCase{4, WS_CAPTION, WS_EX_TOOLWINDOW},
                                         BorderCase{5, WS_THICKFRAME | WS_CAPTION, WS_EX_CLIENTEDGE},
                                         BorderCase{6, WS_CAPTION, WS_EX_CLIENTEDGE}));

TEST(FormStyles, BoxesAndStartModesAddTheirStyles) {
    CVWnd_WinForm native;
    native.SetMaximizeBox(true);
    native.SetStartMode(CVWnd_WinForm::kStartMaximised);
    ControlCreateInfo info;
    native.CompleteCreateInfo(info);
    EXPECT_NE(info.style & WS_MAXIMIZEBOX, 0u);
    EXPECT_NE(info.style & WS_MAXIMIZE, 0u);
    native.SetStartMode(CVWnd_WinForm::kStartMinimised);
    ControlCreateInfo minimised;
    native.CompleteCreateInfo(minimised);
    EXPECT_NE(minimised.style & WS_MINIMIZE, 0u);
}

TEST_F(CVolWinFormTest, UntitledFormWithCaptionShowsTheProgramName) {
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    EXPECT_EQ(WindowText(form_.GetWindow()), u"morvane_ui_tests");
}

std::int32_t RecordContainerCreated(CVolObject* target, CVolWinControl* sender, std::uint32_t) {
    auto& form = static_cast<TestForm&>(*sender);
    EventRecorder::Of(target).Add("created after " + std::to_string(form.createChildrenCalls) +
                                  " children calls");
    return 0;
}

TEST_F(CVolWinFormTest, ChildrenAreMadeDuringCreationBeforeTheCreatedEvent) {
    EventRecorder recorder;
    form_.BindEvent(form_.ContainerCreatedEvent(), &RecordContainerCreated, recorder.Holder());
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    EXPECT_EQ(form_.createChildrenCalls, 1);
    EXPECT_EQ(form_.windowDuringCreateChildren, form_.GetWindow());
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"created after 1 children calls"});
}

TEST_F(CVolWinFormTest, FormWithoutBoundEventsStillMakesItsChildren) {
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    EXPECT_EQ(form_.createChildrenCalls, 1);
    EXPECT_TRUE(form_.HasListener());
}

struct CloseCase {
    bool bindQueryClose;
    std::int32_t queryCloseAnswer;
    bool bindClosing;
    std::int32_t closingAnswer;
    bool closes;
    std::size_t closingCalls;
};

class FormClose : public CVolWinFormTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(FormClose, BothQuestionsMustAgreeToClose) {
    const CloseCase& row = GetParam();
    EventRecorder queryClose;
    EventRecorder closing;
    queryClose.answer = row.queryCloseAnswer;
    closing.answer = row.closingAnswer;
    if (row.bindQueryClose) {
        form_.BindEvent(form_.QueryCloseEvent(), &RecordNamed, queryClose.Holder());
    }
    if (row.bindClosing) {
        form_.BindEvent(form_.ClosingEvent(), &RecordNamed, closing.Holder());
    }
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    const HWND window = form_.GetWindow();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(IsWindow(window) == FALSE, row.closes);
    EXPECT_EQ(closing.entries.size(), row.closingCalls);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormClose,
                         testing::Values(CloseCase{true, 0, true, 1, false,
                                                   0},  // QueryClose false: no Closing
                                         CloseCase{true, 1, true, 0, false, 1},   // Closing false
                                         CloseCase{true, 1, true, 1, true, 1},    // both agree
                                         CloseCase{false, 0, false, 0, true, 0},  // nobody asked
                                         CloseCase{true, 1, false, 0, true, 0}));

TEST_F(CVolWinFormTest, ClearedTargetDoesNotKeepTheFormOpen) {
    EventRecorder* recorder = new EventRecorder;
    form_.BindEvent(form_.QueryCloseEvent(), &RecordNamed, recorder->Holder());
    delete recorder;  // clears its holder's target
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    const HWND window = form_.GetWindow();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CVolWinFormTest, QueryEndSessionAnswersClosing) {
    EventRecorder closing;
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    EXPECT_EQ(SendMessageW(form_.GetWindow(), WM_QUERYENDSESSION, 0, 0), TRUE);
    form_.BindEvent(form_.ClosingEvent(), &RecordNamed, closing.Holder());
    EXPECT_EQ(SendMessageW(form_.GetWindow(), WM_QUERYENDSESSION, 0, 0), FALSE);
    closing.answer = 1;
    EXPECT_EQ(SendMessageW(form_.GetWindow(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

class DefaultButton : public CVolWinFormTest {
protected:
    void SetUp() override {
        ControlCreateInfo info = MakeDefaultFormInfo();
        ASSERT_TRUE(form_.CreateControl(info));
        // The default button may sit inside a nested container.
        ControlCreateInfo panelInfo = MakeCreateInfo(form_.GetWindow(), &form_, 0, 0, 100, 100, 50);
        ASSERT_TRUE(panel_.CreateControl(panelInfo));
        button_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 0, 50, 20,
                                  panel_.GetWindow(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)),
                                  nullptr, nullptr);
        ASSERT_NE(button_, nullptr);
    }
    LRESULT AskDefault() { return SendMessageW(form_.GetWindow(), DM_GETDEFID, 0, 0); }

    RecordingPanel panel_;
    HWND button_ = nullptr;
};

TEST_F(DefaultButton, AnswersZeroWithoutADefaultButton) {
    EXPECT_EQ(AskDefault(), 0);
}

TEST_F(DefaultButton, AnswersTheIdWithTheHasDefaultMark) {
    form_.GetFormWindow()->SetDefaultButtonId(77);
    EXPECT_EQ(AskDefault(), 0x534B0000 | 77);
}

TEST_F(DefaultButton, AnswersZeroWhenNoChildHasTheId) {
    form_.GetFormWindow()->SetDefaultButtonId(78);
    EXPECT_EQ(AskDefault(), 0);
}

TEST_F(DefaultButton, AnswersZeroWhileHidden) {
    form_.GetFormWindow()->SetDefaultButtonId(77);
    ShowWindow(form_.GetWindow(), SW_HIDE);
    EXPECT_EQ(AskDefault(), 0);
}

TEST_F(DefaultButton, AnswersZeroWhileDisabled) {
    form_.GetFormWindow()->SetDefaultButtonId(77);
    EnableWindow(form_.GetWindow(), FALSE);
    EXPECT_EQ(AskDefault(), 0);
    EnableWindow(form_.GetWindow(), TRUE);
}

TEST_F(CVolWinFormTest, FormAnswersTheQueryForItsNativeObjectOnly) {
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    CVWnd_Base* found = nullptr;
    NativeObjectQuery query{u"CVWnd_WinForm", &found};
    EXPECT_EQ(
        SendMessageW(form_.GetWindow(), VM_QUERYOBJECT, reinterpret_cast<WPARAM>(&query), FRAMEWORK_MAGIC),
        FRAMEWORK_MAGIC);
    EXPECT_EQ(found, form_.GetFormWindow());
    found = nullptr;
    NativeObjectQuery other{u"CVWnd_Container", &found};
    EXPECT_NE(
        SendMessageW(form_.GetWindow(), VM_QUERYOBJECT, reinterpret_cast<WPARAM>(&other), FRAMEWORK_MAGIC),
        FRAMEWORK_MAGIC);
    EXPECT_EQ(found, nullptr);
    // Without the signature the message is an ordinary one.
    EXPECT_NE(SendMessageW(form_.GetWindow(), VM_QUERYOBJECT, reinterpret_cast<WPARAM>(&query), 0),
              FRAMEWORK_MAGIC);
}

std::int32_t ShrinkMinMax(CVolObject* target, CVolWinControl*, std::uint32_t, MINMAXINFO* info) {
    EventRecorder::Of(target).Add("min " + std::to_string(info->ptMinTrackSize.x) + "x" +
                                  std::to_string(info->ptMinTrackSize.y));
    info->ptMaxTrackSize = POINT{321, 123};
    return 0;
}

TEST_F(CVolWinFormTest, MinMaxInfoStartsAtOneByOneAndIsCopiedBack) {
    EventRecorder recorder;
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    form_.BindEvent(form_.MinMaxInfoEvent(), &ShrinkMinMax, recorder.Holder());
    MINMAXINFO minMax{};
    minMax.ptMinTrackSize = POINT{100, 100};
    SendMessageW(form_.GetWindow(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&minMax));
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"min 1x1"});
    EXPECT_EQ(minMax.ptMinTrackSize.x, 1);
    EXPECT_EQ(minMax.ptMaxTrackSize.x, 321);
    EXPECT_EQ(minMax.ptMaxTrackSize.y, 123);
}

std::int32_t RecordFirst(CVolObject* target, CVolWinControl*, std::uint32_t) {
    EventRecorder::Of(target).Add("first");
    return 0;
}

std::int32_t RecordActivated(CVolObject* target, CVolWinControl*, std::uint32_t) {
    EventRecorder::Of(target).Add("activated");
    return 0;
}

std::int32_t RecordDeactivated(CVolObject* target, CVolWinControl*, std::uint32_t) {
    EventRecorder::Of(target).Add("deactivated");
    return 0;
}

TEST_F(CVolWinFormTest, FirstActivationRaisesFirstActivatedThenActivatedAndLaterOnesOnlyActivated) {
    EventRecorder recorder;
    form_.BindEvent(form_.FirstActivatedEvent(), &RecordFirst, recorder.Holder());
    form_.BindEvent(form_.ActivatedEvent(), &RecordActivated, recorder.Holder());
    form_.BindEvent(form_.DeactivatedEvent(), &RecordDeactivated, recorder.Holder());
    // Minimised at the start: showing does not activate the form, so the first activation is ours.
    form_.GetFormWindow()->SetStartMode(CVWnd_WinForm::kStartMinimised);
    form_.GetBridge()->SetStyle(form_.GetBridge()->GetStyle() & ~WS_VISIBLE);
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    recorder.entries.erase(std::remove(recorder.entries.begin(), recorder.entries.end(), "deactivated"),
                           recorder.entries.end());
    const bool activatedByShowing = !recorder.entries.empty();
    SendMessageW(form_.GetWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageW(form_.GetWindow(), WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageW(form_.GetWindow(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
    std::vector<std::string> expected{"first", "activated"};
    if (activatedByShowing) {
        expected.push_back("activated");
    }
    expected.insert(expected.end(), {"deactivated", "activated"});
    EXPECT_EQ(recorder.entries, expected);
}

TEST_F(CVolWinFormTest, MenuSelectReportsItemsButNotPopupsSystemItemsOrClosing) {
    EventRecorder recorder;
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    form_.BindEvent(form_.MenuSelectEvent(), &RecordId, recorder.Holder());
    const HMENU menu = CreateMenu();
    SendMessageW(form_.GetWindow(), WM_MENUSELECT, MAKEWPARAM(15, MF_STRING), reinterpret_cast<LPARAM>(menu));
    SendMessageW(form_.GetWindow(), WM_MENUSELECT, MAKEWPARAM(16, MF_POPUP), reinterpret_cast<LPARAM>(menu));
    SendMessageW(form_.GetWindow(), WM_MENUSELECT, MAKEWPARAM(17, MF_SYSMENU),
                 reinterpret_cast<LPARAM>(menu));
    SendMessageW(form_.GetWindow(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    DestroyMenu(menu);
    EXPECT_EQ(recorder.entries, (std::vector<std::string>{"15", "0", "0", "0"}));
}

TEST_F(CVolWinFormTest, TrayIconCallbackRaisesTheAction) {
    EventRecorder recorder;
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    form_.BindEvent(form_.TrayIconEvent(), &RecordId, recorder.Holder());
    for (const UINT mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE}) {
        SendMessageW(form_.GetWindow(), VM_TRAYICON, CVWnd_WinForm::kTrayIconId, mouse);
    }
    EXPECT_EQ(recorder.entries, (std::vector<std::string>{"1", "2", "3", "3"}));
}

TEST_F(CVolWinFormTest, MenuCommandsGoToTheFormCommandEvent) {
    EventRecorder formCommand;
    EventRecorder containerCommand;
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    form_.BindEvent(form_.FormCommandEvent(), &RecordId, formCommand.Holder());
    form_.BindEvent(form_.CommandEvent(), &RecordId, containerCommand.Holder());
    // Items 1 and 2 too: only keys must not pretend to be them.
    for (const WORD item : {1001, 1, 2}) {
        SendMessageW(form_.GetWindow(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
    }
    EXPECT_EQ(formCommand.entries, (std::vector<std::string>{"1001", "1", "2"}));
    EXPECT_TRUE(containerCommand.entries.empty());
}

std::int32_t RecordClick(CVolObject* target, CVolWinControl* sender, std::uint32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add(WindowText(sender->GetWindow()) == u"First" ? "first" : "second");
    return 0;
}

// A form as an application makes one: an edit box and two push buttons "First" (id 11) and "Second"
// (id 12), keys delivered the way the main loop delivers them. No control has the id 1 or 2.
class FormKeys : public CVolWinFormTest {
protected:
    void SetUp() override {
        ControlCreateInfo info = MakeDefaultFormInfo();
        ASSERT_TRUE(form_.CreateControl(info));
        form_.BindEvent(form_.FormCommandEvent(), &RecordId, commands_.Holder());
        form_.BindEvent(form_.CommandEvent(), &RecordId, commands_.Holder());
        first_.SetText(u"First");
        second_.SetText(u"Second");
        ASSERT_TRUE(CreateIn(edit_, 10, 10, 9));
        ASSERT_TRUE(CreateIn(first_, 10, 50, 11));
        ASSERT_TRUE(CreateIn(second_, 100, 50, 12));
        first_.BindEvent(first_.ClickedEvent(), &RecordClick, clicks_.Holder());
        second_.BindEvent(second_.ClickedEvent(), &RecordClick, clicks_.Holder());
    }
    bool CreateIn(CVolWinControl& control, int x, int y, int id) {
        ControlCreateInfo info = MakeCreateInfo(form_.GetWindow(), &form_, x, y, 80, 24, id);
        return control.CreateControl(info);
    }
    // Presses `key` with the focus on `control`.
    void Press(CVolWinControl& control, UINT key) {
        SetFocus(control.GetWindow());
        ASSERT_EQ(GetFocus(), control.GetWindow());
        PressKey(control.GetWindow(), key);
    }

    CVolWinEdit edit_;
    CVolWinButton first_;
    CVolWinButton second_;
    EventRecorder commands_;
    EventRecorder clicks_;
};

TEST_F(FormKeys, EnterAndEscInAnEditBoxRaiseNoCommandWithoutADefaultButton) {
    Press(edit_, VK_RETURN);
    Press(edit_, VK_ESCAPE);
    EXPECT_TRUE(commands_.entries.empty());
    EXPECT_TRUE(clicks_.entries.empty());
    EXPECT_TRUE(IsWindowVisible(form_.GetWindow()));  // Esc closes only modal forms
}

TEST_F(FormKeys, EnterInAnEditBoxPressesTheDefaultButton) {
    form_.GetFormWindow()->SetDefaultButtonId(12);
    Press(edit_, VK_RETURN);
    EXPECT_EQ(clicks_.entries, std::vector<std::string>{"second"});
    EXPECT_TRUE(commands_.entries.empty());
}

TEST_F(FormKeys, EnterOnAFocusedButtonPressesThatButton) {
    form_.GetFormWindow()->SetDefaultButtonId(12);
    Press(first_, VK_RETURN);
    EXPECT_EQ(clicks_.entries, std::vector<std::string>{"first"});
    EXPECT_TRUE(commands_.entries.empty());
}

TEST_F(FormKeys, DisabledDefaultButtonIsNotPressed) {
    form_.GetFormWindow()->SetDefaultButtonId(12);
    EnableWindow(second_.GetWindow(), FALSE);
    Press(edit_, VK_RETURN);
    EXPECT_TRUE(clicks_.entries.empty());
    EXPECT_TRUE(commands_.entries.empty());
}

TEST_F(FormKeys, TabAndShiftTabMoveTheFocusThroughTheTabStopsInCreationOrder) {
    Press(edit_, VK_TAB);
    EXPECT_EQ(GetFocus(), first_.GetWindow());
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), second_.GetWindow());
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), edit_.GetWindow());
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] |= 0x80;
    SetKeyboardState(keys);
    PressKey(GetFocus(), VK_TAB);
    keys[VK_SHIFT] &= 0x7F;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), second_.GetWindow());
    EXPECT_TRUE(commands_.entries.empty());
    EXPECT_TRUE(clicks_.entries.empty());
}

TEST_F(CVolWinFormTest, ChildNotificationsAreReflectedToTheChild) {
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    RecordingPanel child;
    ControlCreateInfo childInfo = MakeCreateInfo(form_.GetWindow(), &form_, 0, 0, 20, 20, 61);
    ASSERT_TRUE(child.CreateControl(childInfo));
    child.Native().Forget();
    SendMessageW(form_.GetWindow(), WM_COMMAND, MAKEWPARAM(61, BN_CLICKED),
                 reinterpret_cast<LPARAM>(child.GetWindow()));
    EXPECT_TRUE(child.Native().SawMessage(WM_COMMAND + 0x2000));
}

TEST_F(CVolWinFormTest, DestroyingTheMainWindowPostsQuit) {
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    TestForm other;
    ControlCreateInfo otherInfo = MakeDefaultFormInfo();
    ASSERT_TRUE(other.CreateControl(otherInfo));
    TakeQuitMessage();
    GetAppModule().SetMainWindow(form_.GetWindow());
    DestroyWindow(other.GetWindow());
    EXPECT_FALSE(TakeQuitMessage());
    DestroyWindow(form_.GetWindow());
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(CVolWinFormTest, ClosingTheMainWindowEndsTheMainLoopWithZero) {
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form_.CreateControl(info));
    GetAppModule().SetMainWindow(form_.GetWindow());
    PostMessageW(form_.GetWindow(), WM_CLOSE, 0, 0);
    CVolMainMessageLoop loop(nullptr);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(form_.GetWindow(), nullptr);
}

TEST_F(CVolWinFormTest, MenuOfTheRecordIsShownAndKeptByItsHolder) {
    const HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 1, L"File");
    auto* menu = new CRefVolMenu(bar, nullptr);
    ControlCreateInfo info = MakeDefaultFormInfo();
    info.menu = menu;
    ASSERT_TRUE(form_.CreateControl(info));
    EXPECT_EQ(GetMenu(form_.GetWindow()), bar);
    // The default size allows for the menu bar: the client area is the designed one.
    RECT client{};
    GetClientRect(form_.GetWindow(), &client);
    EXPECT_EQ(client.right, 633);
    EXPECT_EQ(client.bottom, 267);
    // The window goes, the menu stays with its holder until the last reference.
    DestroyWindow(form_.GetWindow());
    EXPECT_TRUE(IsMenu(bar));
    form_.GetFormWindow()->SetMenu(nullptr);
    EXPECT_TRUE(IsMenu(bar));
    menu->Release();
    EXPECT_FALSE(IsMenu(bar));
}

TEST_F(CVolWinFormTest, DestroyingTheFormObjectDestroysItsWindowSilently) {
    EventRecorder recorder;
    auto* form = new TestForm;
    form->BindEvent(form->DestroyedEvent(), &RecordNamed, recorder.Holder());
    ControlCreateInfo info = MakeDefaultFormInfo();
    ASSERT_TRUE(form->CreateControl(info));
    const HWND window = form->GetWindow();
    form->Destroy();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(recorder.entries.empty());
}

}  // namespace
