#include <gtest/gtest.h>

#include <string>

#include "EventRecorder.h"
#include "RecordingPanel.h"
#include "WindowTestSupport.h"
#include "ui/ControlFonts.h"

namespace {

// Each test gets a visible top-level form to put controls on.
class CVolWinControlTest : public testing::Test {
protected:
    void SetUp() override {
        ControlCreateInfo info = MakeDefaultFormInfo();
        ASSERT_TRUE(form_.CreateControl(info));
        parent_ = form_.GetWindow();
    }
    void TearDown() override {
        if (parent_ != nullptr && IsWindow(parent_)) {
            DestroyWindow(parent_);
        }
        PumpMessages();
    }

    bool CreateChild(CVolWinControl& control, int id = 7) {
        ControlCreateInfo info = MakeCreateInfo(parent_, &form_, 10, 20, 100, 50, id);
        return control.CreateControl(info);
    }

    TestForm form_;
    HWND parent_ = nullptr;
};

TEST_F(CVolWinControlTest, TextSetBeforeCreationIsReadBackWithoutWindowAndShownAfter) {
    RecordingPanel panel;
    panel.SetText(u"路径 path");
    EXPECT_EQ(panel.GetWindow(), nullptr);
    EXPECT_EQ(std::u16string(panel.GetText().GetText()), u"路径 path");
    ASSERT_TRUE(CreateChild(panel));
    EXPECT_EQ(WindowText(panel.GetWindow()), u"路径 path");
    EXPECT_EQ(std::u16string(panel.GetText().GetText()), u"路径 path");
    panel.SetText(u"after");
    EXPECT_EQ(WindowText(panel.GetWindow()), u"after");
    EXPECT_EQ(std::u16string(panel.GetText().GetText()), u"after");
}

TEST_F(CVolWinControlTest, ControlWithParentBecomesChildAlthoughItsStyleLacksIt) {
    RecordingPanel panel;
    ASSERT_EQ(panel.GetBridge()->GetStyle() & WS_CHILD, 0u);
    ASSERT_TRUE(CreateChild(panel));
    EXPECT_NE(GetWindowLongW(panel.GetWindow(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetParent(panel.GetWindow()), parent_);
    EXPECT_EQ(GetDlgCtrlID(panel.GetWindow()), 7);
}

TEST_F(CVolWinControlTest, TopLevelControlLosesAStoredChildStyle) {
    RecordingPanel panel;
    panel.GetBridge()->SetStyle(panel.GetBridge()->GetStyle() | WS_CHILD | WS_POPUP);
    ControlCreateInfo info = MakeCreateInfo(nullptr, nullptr, 0, 0, 50, 50);
    ASSERT_TRUE(panel.CreateControl(info));
    EXPECT_EQ(GetWindowLongW(panel.GetWindow(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(info.style & WS_CHILD, 0u);
    DestroyWindow(panel.GetWindow());
}

TEST_F(CVolWinControlTest, ControlWithoutFontGetsANinePointDefaultGuiFont) {
    RecordingPanel panel;
    ControlCreateInfo info = MakeCreateInfo(parent_, &form_, 0, 0, 10, 10, 3);
    ASSERT_TRUE(panel.CreateControl(info));
    const HFONT font = panel.GetBridge()->GetFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(info.font, font);
    LOGFONTW logFont{};
    ASSERT_NE(GetObjectW(font, sizeof(logFont), &logFont), 0);
    EXPECT_EQ(logFont.lfHeight, -static_cast<int>(ScreenLogPixelsY() * 9.0 / 72));
}

TEST_F(CVolWinControlTest, FontFromTextReplacesAndDeletesThePreviousFont) {
    RecordingPanel panel;
    ASSERT_TRUE(panel.SetFontFromText(u"Arial, 20, 1"));
    const HFONT first = panel.GetBridge()->GetFont();
    ASSERT_TRUE(CreateChild(panel));
    EXPECT_EQ(panel.GetBridge()->GetFont(), first);  // kept, not replaced by the default
    ASSERT_TRUE(panel.SetFontFromText(u"Arial, 10"));
    const HFONT second = panel.GetBridge()->GetFont();
    EXPECT_NE(second, first);
    EXPECT_EQ(GetObjectType(first), 0u);  // deleted
    LOGFONTW logFont{};
    GetObjectW(second, sizeof(logFont), &logFont);
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
}

TEST_F(CVolWinControlTest, CreatingTwiceFailsAndChangesNothing) {
    RecordingPanel panel;
    ASSERT_TRUE(CreateChild(panel));
    const HWND window = panel.GetWindow();
    ControlCreateInfo again = MakeCreateInfo(parent_, &form_, 0, 0, 5, 5, 9);
    again.layer = 4;
    EXPECT_FALSE(panel.CreateControl(again));
    EXPECT_EQ(panel.GetWindow(), window);
    EXPECT_EQ(panel.GetNativeObject()->GetLayer(), -1);
}

TEST_F(CVolWinControlTest, OnCreatedAddsTabStopForKeyboardWindowsAndRemovesAnUnaskedBorder) {
    RecordingPanel keyboard;
    keyboard.Native().dialogCode = DLGC_WANTCHARS;
    keyboard.Native().addBorderOnCreate = true;
    ASSERT_TRUE(CreateChild(keyboard));
    const LONG style = GetWindowLongW(keyboard.GetWindow(), GWL_STYLE);
    EXPECT_NE(style & WS_TABSTOP, 0);
    EXPECT_EQ(style & WS_BORDER, 0);

    RecordingPanel plain;
    ASSERT_TRUE(CreateChild(plain));
    EXPECT_EQ(GetWindowLongW(plain.GetWindow(), GWL_STYLE) & WS_TABSTOP, 0);
}

std::int32_t RecordCreated(CVolObject* target, CVolWinControl* sender, std::uint32_t, CVolWinControl* owner,
                           std::int32_t id) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.lastSender = sender;
    recorder.Add("created by owner " + std::to_string(reinterpret_cast<std::uintptr_t>(owner) != 0) + " id " +
                 std::to_string(id));
    return 0;
}

TEST_F(CVolWinControlTest, CreatedEventCarriesOwnerAndIdOnlyWhenTheOwnerHasAWindow) {
    EventRecorder recorder;
    RecordingPanel withOwner;
    withOwner.BindEvent(withOwner.CreatedEvent(), &RecordCreated, recorder.Holder());
    ASSERT_TRUE(CreateChild(withOwner, 31));
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"created by owner 1 id 31"});
    EXPECT_EQ(recorder.lastSender, &withOwner);

    RecordingPanel withoutOwner;
    withoutOwner.BindEvent(withoutOwner.CreatedEvent(), &RecordCreated, recorder.Holder());
    ControlCreateInfo info = MakeCreateInfo(parent_, nullptr, 0, 0, 5, 5, 32);
    ASSERT_TRUE(withoutOwner.CreateControl(info));
    EXPECT_EQ(recorder.entries.size(), 1u);

    TestForm windowless;
    RecordingPanel ownerWithoutWindow;
    ownerWithoutWindow.BindEvent(ownerWithoutWindow.CreatedEvent(), &RecordCreated, recorder.Holder());
    ControlCreateInfo info2 = MakeCreateInfo(parent_, &windowless, 0, 0, 5, 5, 33);
    ASSERT_TRUE(ownerWithoutWindow.CreateControl(info2));
    EXPECT_EQ(recorder.entries.size(), 1u);
}

std::int32_t CharAnswer(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t character) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add("char " + std::to_string(character));
    return recorder.answer;
}

struct CharCase {
    std::int32_t answer;
    bool consumed;
    WPARAM characterAfter;
};

class CharEventTest : public CVolWinControlTest, public testing::WithParamInterface<CharCase> {};

TEST_P(CharEventTest, HandlerSwallowsReplacesOrLeavesTheCharacter) {
    const CharCase& row = GetParam();
    EventRecorder recorder;
    recorder.answer = row.answer;
    RecordingPanel panel;
    panel.BindEvent(panel.CharEvent(), &CharAnswer, recorder.Holder());
    ASSERT_TRUE(CreateChild(panel));
    panel.Native().Forget();
    SendMessageW(panel.GetWindow(), WM_CHAR, 0x10061, 0);  // 'a' with stray high bits
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"char 97"});
    ASSERT_EQ(panel.Native().SawMessage(WM_CHAR), !row.consumed);
    if (!row.consumed) {
        for (const auto& seen : panel.Native().GetSeen()) {
            if (seen.message == WM_CHAR) {
                EXPECT_EQ(seen.wParam, row.characterAfter);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CharEventTest,
                         testing::Values(CharCase{-1, true, 0}, CharCase{u'Z', false, u'Z'},
                                         CharCase{0, false, 0x10061}));

std::int32_t RecordMouse(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t x, std::int32_t y,
                         std::int32_t keys) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add(std::to_string(x) + "," + std::to_string(y) + " keys " + std::to_string(keys));
    return recorder.answer;
}

TEST_F(CVolWinControlTest, MouseEventsCarrySignedCoordinatesAndKeyFlags) {
    EventRecorder recorder;
    RecordingPanel panel;
    panel.BindEvent(panel.LeftDownEvent(), &RecordMouse, recorder.Holder());
    panel.BindEvent(panel.RightUpEvent(), &RecordMouse, recorder.Holder());
    panel.BindEvent(panel.MouseMoveEvent(), &RecordMouse, recorder.Holder());
    ASSERT_TRUE(CreateChild(panel));
    SendMessageW(panel.GetWindow(), WM_LBUTTONDOWN, MK_CONTROL | MK_SHIFT | MK_LBUTTON, MAKELPARAM(-5, 7));
    SendMessageW(panel.GetWindow(), WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(3, -2));
    SendMessageW(panel.GetWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 41));
    EXPECT_EQ(recorder.entries,
              (std::vector<std::string>{"-5,7 keys 40960", "3,-2 keys 8192", "40,41 keys 0"}));
}

TEST_F(CVolWinControlTest, NonZeroMouseAnswerConsumesTheMessage) {
    EventRecorder recorder;
    RecordingPanel panel;
    panel.BindEvent(panel.LeftUpEvent(), &RecordMouse, recorder.Holder());
    ASSERT_TRUE(CreateChild(panel));
    SendMessageW(panel.GetWindow(), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(panel.Native().SawMessage(WM_LBUTTONUP));
    panel.Native().Forget();
    recorder.answer = 1;
    SendMessageW(panel.GetWindow(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(panel.Native().SawMessage(WM_LBUTTONUP));
}

// The keyboard state of this thread, as GetKeyState reports it, for the length of a test.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        for (const int key : keys) {
            state[key] |= 0x80;
        }
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256] = {};
};

TEST_F(CVolWinControlTest, AltHeldAddsItsFlagToMouseEvents) {
    EventRecorder recorder;
    RecordingPanel panel;
    panel.BindEvent(panel.MiddleDownEvent(), &RecordMouse, recorder.Holder());
    ASSERT_TRUE(CreateChild(panel));
    const HeldKeys alt{VK_MENU};
    SendMessageW(panel.GetWindow(), WM_MBUTTONDOWN, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"1,1 keys 16384"});
}

std::int32_t RecordWheel(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t notches,
                         std::int32_t keys) {
    EventRecorder::Of(target).Add(std::to_string(notches) + " keys " + std::to_string(keys));
    return 0;
}

TEST_F(CVolWinControlTest, WheelEventCountsNotches) {
    EventRecorder recorder;
    RecordingPanel panel;
    panel.BindEvent(panel.WheelEvent(), &RecordWheel, recorder.Holder());
    ASSERT_TRUE(CreateChild(panel));
    SendMessageW(panel.GetWindow(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 240), 0);
    SendMessageW(panel.GetWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(recorder.entries, (std::vector<std::string>{"2 keys 8192", "-1 keys 0"}));
}

std::int32_t RecordKey(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t code,
                       std::int32_t modifiers) {
    EventRecorder::Of(target).Add(std::to_string(code) + " mod " + std::to_string(modifiers));
    return 0;
}

TEST_F(CVolWinControlTest, KeyEventsCarryTheKeyCodeAndItsModifiersApart) {
    EventRecorder recorder;
    RecordingPanel panel;
    panel.BindEvent(panel.KeyDownEvent(), &RecordKey, recorder.Holder());
    panel.BindEvent(panel.KeyUpEvent(), &RecordKey, recorder.Holder());
    ASSERT_TRUE(CreateChild(panel));
    SendMessageW(panel.GetWindow(), WM_KEYDOWN, VK_NUMPAD5, 0);
    {
        const HeldKeys ctrlShift{VK_CONTROL, VK_SHIFT};
        SendMessageW(panel.GetWindow(), WM_SYSKEYDOWN, 'C', 0);
        SendMessageW(panel.GetWindow(), WM_KEYUP, VK_TAB, 0);
    }
    EXPECT_EQ(recorder.entries, (std::vector<std::string>{"53 mod 0", "67 mod 40960", "9 mod 40960"}));
}

std::int32_t RecordSimple(CVolObject* target, CVolWinControl*, std::uint32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add("simple");
    return recorder.answer;
}

TEST_F(CVolWinControlTest, FocusMessagesRaiseGotAndLostFocus) {
    EventRecorder got;
    EventRecorder lost;
    RecordingPanel panel;
    panel.BindEvent(panel.GotFocusEvent(), &RecordSimple, got.Holder());
    panel.BindEvent(panel.LostFocusEvent(), &RecordSimple, lost.Holder());
    ASSERT_TRUE(CreateChild(panel));
    SendMessageW(panel.GetWindow(), WM_SETFOCUS, 0, 0);
    SendMessageW(panel.GetWindow(), WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(got.entries.size(), 1u);
    EXPECT_EQ(lost.entries.size(), 1u);
}

std::int32_t RecordMessage(CVolObject* target, CVolWinControl*, std::uint32_t, HWND, std::uint32_t message,
                           WPARAM wParam, LPARAM lParam, MessageRecord* record) {
    EventRecorder& recorder = EventRecorder::Of(target);
    if (message == WM_USER + 5) {
        recorder.Add("message " + std::to_string(wParam) + " " + std::to_string(lParam));
        record->result = 1234;
    }
    return message == WM_USER + 5 || message == WM_LBUTTONDOWN ? recorder.answer : 0;
}

TEST_F(CVolWinControlTest, MessageEventComesFirstAndCanConsumeAnyMessage) {
    EventRecorder recorder;
    EventRecorder mouse;
    recorder.answer = 1;
    RecordingPanel panel;
    panel.BindEvent(panel.MessageEvent(), &RecordMessage, recorder.Holder());
    panel.BindEvent(panel.LeftDownEvent(), &RecordMouse, mouse.Holder());
    ASSERT_TRUE(CreateChild(panel));
    panel.Native().Forget();
    EXPECT_EQ(SendMessageW(panel.GetWindow(), WM_USER + 5, 11, 22), 1234);
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"message 11 22"});
    SendMessageW(panel.GetWindow(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(mouse.entries.empty());
    EXPECT_FALSE(panel.Native().SawMessage(WM_USER + 5));
    EXPECT_FALSE(panel.Native().SawMessage(WM_LBUTTONDOWN));
}

TEST_F(CVolWinControlTest, CursorOfTheBridgeIsSetAndTheMessageConsumed) {
    RecordingPanel panel;
    ASSERT_TRUE(CreateChild(panel));
    panel.Native().Forget();
    SendMessageW(panel.GetWindow(), WM_SETCURSOR, reinterpret_cast<WPARAM>(panel.GetWindow()), HTCLIENT);
    EXPECT_TRUE(panel.Native().SawMessage(WM_SETCURSOR));

    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    panel.SetCursor(cross);
    panel.Native().Forget();
    EXPECT_EQ(
        SendMessageW(panel.GetWindow(), WM_SETCURSOR, reinterpret_cast<WPARAM>(panel.GetWindow()), HTCLIENT),
        TRUE);
    EXPECT_FALSE(panel.Native().SawMessage(WM_SETCURSOR));
    EXPECT_EQ(GetCursor(), cross);
}

std::int32_t DestroySender(CVolObject* target, CVolWinControl* sender, std::uint32_t, std::int32_t,
                           std::int32_t, std::int32_t) {
    EventRecorder::Of(target).Add("destroying");
    DestroyWindow(sender->GetWindow());
    return 0;  // not consumed, yet nothing more may happen to the window
}

TEST_F(CVolWinControlTest, HandlerThatDestroysItsWindowEndsThatMessage) {
    EventRecorder recorder;
    RecordingPanel panel;
    panel.BindEvent(panel.LeftDownEvent(), &DestroySender, recorder.Holder());
    ASSERT_TRUE(CreateChild(panel));
    const HWND window = panel.GetWindow();
    panel.Native().Forget();
    SendMessageW(window, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"destroying"});
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(panel.GetWindow(), nullptr);
    EXPECT_TRUE(panel.Native().SawMessage(WM_NCDESTROY));
    EXPECT_FALSE(panel.Native().SawMessage(WM_LBUTTONDOWN));
}

// A handler may even drop the last reference to the control; the native object outlives the message.
RecordingPanel* panelToDrop = nullptr;

std::int32_t DropPanel(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t, std::int32_t,
                       std::int32_t) {
    EventRecorder::Of(target).Add("dropped");
    panelToDrop->Destroy();
    panelToDrop = nullptr;
    return 0;
}

TEST_F(CVolWinControlTest, HandlerThatDestroysItsControlObjectIsSafe) {
    EventRecorder recorder;
    panelToDrop = new RecordingPanel;
    panelToDrop->BindEvent(panelToDrop->LeftDownEvent(), &DropPanel, recorder.Holder());
    ASSERT_TRUE(CreateChild(*panelToDrop));
    const HWND window = panelToDrop->GetWindow();
    SendMessageW(window, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"dropped"});
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CVolWinControlTest, LastReferenceDestroysTheWindow) {
    HWND window = nullptr;
    {
        RecordingPanel panel;
        ASSERT_TRUE(CreateChild(panel));
        window = panel.GetWindow();
        RecordingPanel copy;
        copy.Assign(panel);
        EXPECT_EQ(copy.GetWindow(), window);
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CVolWinControlTest, CopiesShareTheBridgeAndCompareByItAndTheTextValue) {
    RecordingPanel panel;
    panel.SetTextValue(u"v");
    CVolWinPanel copy;
    ASSERT_TRUE(copy.Assign(panel));
    EXPECT_EQ(copy.GetBridge(), panel.GetBridge());
    EXPECT_EQ(panel.GetBridge()->GetRefCount(), 2);
    EXPECT_TRUE(copy.IsEqual(panel));
    copy.SetTextValue(u"w");
    EXPECT_FALSE(copy.IsEqual(panel));
    CVolObject* clone = panel.Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(clone->IsEqual(panel));
    EXPECT_EQ(static_cast<CVolWinControl*>(clone)->GetBridge(), panel.GetBridge());
    clone->Destroy();
    copy.Reset();
    EXPECT_EQ(copy.GetBridge(), nullptr);
    EXPECT_EQ(panel.GetBridge()->GetRefCount(), 1);
}

TEST_F(CVolWinControlTest, AssignFromAnUnrelatedClassFails) {
    RecordingPanel panel;
    CVolObject plain;
    EXPECT_FALSE(panel.Assign(plain));
    EXPECT_NE(panel.GetBridge(), nullptr);
}

TEST_F(CVolWinControlTest, StyleBitsChangeOnlyWhenTheyDiffer) {
    RecordingPanel panel;
    ASSERT_TRUE(CreateChild(panel));
    const HWND window = panel.GetWindow();
    EXPECT_TRUE(CVolWinControl::SetStyleBits(window, 0, WS_TABSTOP, 0));
    EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_FALSE(CVolWinControl::SetStyleBits(window, 0, WS_TABSTOP, 0));
    EXPECT_TRUE(CVolWinControl::SetStyleBits(window, WS_TABSTOP, 0, SWP_FRAMECHANGED));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP, 0);
}

TEST_F(CVolWinControlTest, AcceptDroppedFilesMarksTheWindow) {
    RecordingPanel panel;
    panel.AcceptDroppedFiles();  // no window yet: nothing to do, no failure
    ASSERT_TRUE(CreateChild(panel));
    panel.AcceptDroppedFiles();
    EXPECT_NE(GetWindowLongW(panel.GetWindow(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

TEST_F(CVolWinControlTest, DestructionDetachesTheListenerBeforeTheWindowGoes) {
    EventRecorder recorder;
    auto* panel = new RecordingPanel;
    panel->BindEvent(panel->DestroyedEvent(), &RecordSimple, recorder.Holder());
    ASSERT_TRUE(CreateChild(*panel));
    EXPECT_TRUE(panel->HasListener());
    panel->Destroy();
    EXPECT_TRUE(recorder.entries.empty());
}

}  // namespace
