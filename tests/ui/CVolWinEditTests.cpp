#include <gtest/gtest.h>

#include <string>

#include "appsvc/Win32Api.h"

#include <commctrl.h>

#include "EventRecorder.h"
#include "FormFixture.h"
#include "WindowPixels.h"
#include "ui/CVolWinEdit.h"
#include "ui/RejectionBeep.h"

namespace {

// Counts the rejection sounds instead of playing them, for as long as it lives.
class BeepCounter {
public:
    BeepCounter() : previous_(ReplaceRejectionBeep(&Count)) {
        count_ = 0;
        lastType_ = 0;
    }
    ~BeepCounter() { ReplaceRejectionBeep(previous_); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    int Beeps() const { return count_; }
    UINT LastType() const { return lastType_; }

private:
    static BOOL WINAPI Count(UINT type) {
        ++count_;
        lastType_ = type;
        return TRUE;
    }

    RejectionBeepFunction previous_;
    static inline int count_ = 0;
    static inline UINT lastType_ = 0;
};

std::int32_t RecordEvent(CVolObject* target, CVolWinControl* sender, std::uint32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.lastSender = sender;
    recorder.Add("event");
    return 0;
}

// Records the text the box shows when the event arrives.
std::int32_t RecordText(CVolObject* target, CVolWinControl* sender, std::uint32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    std::u16string text(sender->GetText().GetText());
    recorder.Add(std::string(text.begin(), text.end()));
    return 0;
}

std::int32_t RecordValue(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t value) {
    EventRecorder::Of(target).Add(std::to_string(value));
    return 0;
}

std::int32_t ReplaceCharacter(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t) {
    return EventRecorder::Of(target).answer;
}

inline constexpr COLORREF kWhite = RGB(255, 255, 255);

std::u16string TextOf(const CVolWinControl& control) {
    return control.GetText().GetText();
}

void Type(const CVolWinControl& control, const std::u16string& characters) {
    for (const char16_t character : characters) {
        SendMessageW(control.GetWindow(), WM_CHAR, character, 1);
    }
}

class EditTest : public FormFixture {
protected:
    // A box and a second box to take the focus away from it.
    void CreateBoxes(int inputType) {
        edit_.SetInputType(inputType);
        ASSERT_TRUE(CreateChild(edit_, 10, 10, 200, 28, 105));
        ASSERT_TRUE(CreateChild(other_, 10, 60, 200, 28, 106));
    }

    void Leave(const char16_t* text) {
        edit_.SetText(text);
        SetFocus(edit_.GetWindow());
        ASSERT_EQ(GetFocus(), edit_.GetWindow());
        SetFocus(other_.GetWindow());
        ASSERT_EQ(GetFocus(), other_.GetWindow());
    }

    CVolWinEdit edit_;
    CVolWinEdit other_;
};

TEST_F(EditTest, LetterTypedIntoAnIntegerBoxBeepsAndLeavesTheText) {
    CreateBoxes(EDIT_INPUT_INT);
    BeepCounter beeps;
    Type(edit_, u"-5");
    EXPECT_EQ(beeps.Beeps(), 0);
    EXPECT_EQ(TextOf(edit_), u"-5");
    Type(edit_, u"a");
    EXPECT_EQ(beeps.Beeps(), 1);
    EXPECT_EQ(beeps.LastType(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(TextOf(edit_), u"-5");
}

TEST_F(EditTest, EditingKeysPassEveryFilter) {
    CreateBoxes(EDIT_INPUT_BYTE);
    BeepCounter beeps;
    Type(edit_, u"12\b");
    EXPECT_EQ(beeps.Beeps(), 0);
    EXPECT_EQ(TextOf(edit_), u"1");
}

TEST_F(EditTest, FilterJudgesTheCharacterACharHandlerPutInPlace) {
    EventRecorder recorder;
    recorder.answer = u'7';
    edit_.BindEvent(edit_.CharEvent(), &ReplaceCharacter, recorder.Holder());
    CreateBoxes(EDIT_INPUT_INT);
    BeepCounter beeps;
    Type(edit_, u"a");
    EXPECT_EQ(beeps.Beeps(), 0);
    EXPECT_EQ(TextOf(edit_), u"7");
}

struct LeaveCase {
    int inputType;
    const char16_t* typed;
    const char16_t* shown;
};

class EditLeaveTest : public EditTest, public testing::WithParamInterface<LeaveCase> {};

TEST_P(EditLeaveTest, TextIsTidiedWhenTheBoxLosesTheFocus) {
    const LeaveCase& row = GetParam();
    CreateBoxes(row.inputType);
    Leave(row.typed);
    EXPECT_EQ(TextOf(edit_), std::u16string(row.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EditLeaveTest,
    testing::Values(LeaveCase{EDIT_INPUT_BYTE, u"300", u"255"}, LeaveCase{EDIT_INPUT_BYTE, u"-5", u""},
                    LeaveCase{EDIT_INPUT_DOUBLE, u"3.14159265358979323", u"3.14159265359"},
                    LeaveCase{EDIT_INPUT_HEX, u"ff", u"FF"},
                    LeaveCase{EDIT_INPUT_DATE, u"2024-3-5 14:07", u"2024年3月5日"},
                    LeaveCase{EDIT_INPUT_TEXT, u" 300 ", u" 300 "}));

TEST_F(EditTest, TidyingKeepsTheCaretWhereTheSelectionStarted) {
    CreateBoxes(EDIT_INPUT_BYTE);
    edit_.SetText(u"3000");
    SetFocus(edit_.GetWindow());
    SendMessageW(edit_.GetWindow(), EM_SETSEL, 1, 3);
    SetFocus(other_.GetWindow());
    ASSERT_EQ(TextOf(edit_), u"255");
    DWORD start = 99;
    DWORD end = 99;
    SendMessageW(edit_.GetWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
}

TEST_F(EditTest, FocusEventsComeOnceEachAndLostFocusSeesTheTidiedText) {
    EventRecorder gotFocus;
    EventRecorder lostFocus;
    edit_.BindEvent(edit_.GotFocusEvent(), &RecordEvent, gotFocus.Holder());
    edit_.BindEvent(edit_.LostFocusEvent(), &RecordText, lostFocus.Holder());
    CreateBoxes(EDIT_INPUT_BYTE);
    Leave(u"300");
    EXPECT_EQ(gotFocus.entries, std::vector<std::string>{"event"});
    EXPECT_EQ(gotFocus.lastSender, &edit_);
    EXPECT_EQ(lostFocus.entries, std::vector<std::string>{"255"});
}

TEST_F(EditTest, TextChangedComesFromTypingButNotFromTheProgram) {
    EventRecorder recorder;
    edit_.BindEvent(edit_.TextChangedEvent(), &RecordText, recorder.Holder());
    CreateBoxes(EDIT_INPUT_BYTE);
    edit_.SetText(u"300");
    EXPECT_TRUE(recorder.entries.empty());
    Type(edit_, u"1");
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"1300"});
    SetFocus(edit_.GetWindow());
    SetFocus(other_.GetWindow());
    ASSERT_EQ(TextOf(edit_), u"255");
    EXPECT_EQ(recorder.entries.size(), 1u);  // tidying is the program's doing
}

TEST_F(EditTest, PasswordBoxShowsTheMaskCharacterForEachCharacter) {
    CVolWinEdit password;
    password.SetInputType(EDIT_INPUT_PASSWORD);
    password.SetText(u"abc");
    ASSERT_TRUE(CreateChild(password, 10, 100, 120, 28, 7));
    CVolWinEdit plain;
    plain.SetText(u"***");
    ASSERT_TRUE(CreateChild(plain, 10, 140, 120, 28, 8));

    EXPECT_EQ(SendMessageW(password.GetWindow(), EM_GETPASSWORDCHAR, 0, 0), u'*');
    EXPECT_EQ(TextOf(password), u"abc");
    SendMessageW(password.GetWindow(), EM_SETSEL, 0, 0);
    SendMessageW(plain.GetWindow(), EM_SETSEL, 0, 0);
    const WindowPixels masked = WindowPixels::Capture(password.GetWindow());
    const WindowPixels stars = WindowPixels::Capture(plain.GetWindow());
    ASSERT_EQ(masked.Width(), stars.Width());
    ASSERT_EQ(masked.Height(), stars.Height());
    EXPECT_GT(masked.Count(IsNot(kWhite)), 0);
    int differing = 0;
    for (int y = 0; y < masked.Height(); ++y) {
        for (int x = 0; x < masked.Width(); ++x) {
            differing += masked.At(x, y) != stars.At(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(EditTest, PasswordCharacterCanBeChosen) {
    CVolWinEdit password;
    password.SetInputType(EDIT_INPUT_PASSWORD);
    password.SetPasswordChar(u'#');
    ASSERT_TRUE(CreateChild(password, 10, 100, 120, 28, 7));
    EXPECT_EQ(SendMessageW(password.GetWindow(), EM_GETPASSWORDCHAR, 0, 0), u'#');
    password.SetInputType(EDIT_INPUT_TEXT);
    EXPECT_EQ(SendMessageW(password.GetWindow(), EM_GETPASSWORDCHAR, 0, 0), 0);
}

struct StyleCase {
    bool multiLine;
    int scrollBars;
    int inputType;
    DWORD present;
    DWORD absent;
};

class EditStyleTest : public FormFixture, public testing::WithParamInterface<StyleCase> {};

TEST_P(EditStyleTest, WindowIsMadeWithTheStyleOfItsSettings) {
    const StyleCase& row = GetParam();
    CVolWinEdit edit;
    edit.SetMultiLine(row.multiLine);
    edit.SetScrollBars(row.scrollBars);
    edit.SetInputType(row.inputType);
    ASSERT_TRUE(CreateChild(edit, 10, 10, 200, 80, 9));
    const auto style = static_cast<DWORD>(GetWindowLongW(edit.GetWindow(), GWL_STYLE));
    EXPECT_EQ(style & row.present, row.present) << std::hex << style;
    EXPECT_EQ(style & row.absent, 0u) << std::hex << style;
    EXPECT_NE(GetWindowLongW(edit.GetWindow(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

inline constexpr DWORD kMultiLineBits = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

INSTANTIATE_TEST_SUITE_P(
    Rows, EditStyleTest,
    testing::Values(StyleCase{false, 0, 0, WS_TABSTOP | ES_AUTOHSCROLL,
                              ES_MULTILINE | ES_READONLY | ES_PASSWORD},
                    StyleCase{false, 3, 0, ES_AUTOHSCROLL, WS_HSCROLL | WS_VSCROLL},  // single line: no bars
                    StyleCase{true, 0, 0, kMultiLineBits, ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL},
                    StyleCase{true, 1, 0, kMultiLineBits | ES_AUTOHSCROLL | WS_HSCROLL, WS_VSCROLL},
                    StyleCase{true, 2, 0, kMultiLineBits | WS_VSCROLL, ES_AUTOHSCROLL | WS_HSCROLL},
                    StyleCase{true, 3, 0, kMultiLineBits | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL, 0},
                    StyleCase{false, 0, 1, ES_READONLY, ES_PASSWORD},
                    StyleCase{false, 0, 2, ES_PASSWORD, ES_READONLY}));

TEST_F(EditTest, MaximumLengthLimitsTyping) {
    edit_.SetMaxLength(3);
    CreateBoxes(EDIT_INPUT_TEXT);
    Type(edit_, u"abcd");
    EXPECT_EQ(TextOf(edit_), u"abc");
    edit_.SetMaxLength(5);
    Type(edit_, u"defg");
    EXPECT_EQ(TextOf(edit_), u"abcde");
}

TEST_F(EditTest, TextColourReachesTheScreen) {
    edit_.SetText(u"MMMMMM");
    CreateBoxes(EDIT_INPUT_TEXT);
    ASSERT_EQ(WindowPixels::Capture(edit_.GetWindow()).Count(IsReddish), 0);
    edit_.SetTextColor(RGB(255, 0, 0));
    EXPECT_GT(WindowPixels::Capture(edit_.GetWindow()).Count(IsReddish), 20);
}

class EditSpinTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        edit_.SetSpin(5, 0, 12);
        edit_.BindEvent(edit_.TextChangedEvent(), &RecordText, changes_.Holder());
        edit_.BindEvent(edit_.SpinChangedEvent(), &RecordValue, values_.Holder());
        ASSERT_TRUE(CreateChild(edit_, 20, 30, 120, 26, 105));
        spin_ = GetDlgItem(formWindow_, 1105);
        ASSERT_NE(spin_, nullptr);
    }

    // A press on the spin as the up-down control reports it to its parent.
    void Press(int delta) {
        NMUPDOWN notice{};
        notice.hdr.hwndFrom = spin_;
        notice.hdr.idFrom = 1105;
        notice.hdr.code = UDN_DELTAPOS;
        notice.iDelta = delta;
        SendMessageW(formWindow_, WM_NOTIFY, 1105, reinterpret_cast<LPARAM>(&notice));
    }

    CVolWinEdit edit_;
    EventRecorder changes_;
    EventRecorder values_;
    HWND spin_ = nullptr;
};

TEST_F(EditSpinTest, SpinSitsOverTheRightEndOfTheBox) {
    RECT editBounds{};
    RECT spinBounds{};
    GetWindowRect(edit_.GetWindow(), &editBounds);
    GetWindowRect(spin_, &spinBounds);
    EXPECT_EQ(spinBounds.right, editBounds.right);
    EXPECT_EQ(spinBounds.right - spinBounds.left, 18);
    EXPECT_EQ(spinBounds.top, editBounds.top);
    EXPECT_EQ(spinBounds.bottom, editBounds.bottom);
    EXPECT_TRUE(IsWindowVisible(spin_));
    EXPECT_EQ(GetParent(spin_), formWindow_);
}

TEST_F(EditSpinTest, PressesStepTheValueWithinTheRange) {
    Press(1);
    Press(1);
    Press(1);
    Press(-1);
    EXPECT_EQ(TextOf(edit_), u"7");
    EXPECT_EQ(values_.entries, (std::vector<std::string>{"5", "10", "12", "7"}));
    EXPECT_EQ(changes_.entries, (std::vector<std::string>{"5", "10", "12", "7"}));
}

TEST_F(EditSpinTest, ClickOnTheUpperArrowCountsUp) {
    RECT bounds{};
    GetClientRect(spin_, &bounds);
    SendMessageW(spin_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bounds.right / 2, 2));
    SendMessageW(spin_, WM_LBUTTONUP, 0, MAKELPARAM(bounds.right / 2, 2));
    EXPECT_EQ(TextOf(edit_), u"5");
}

TEST_F(EditSpinTest, SpinFollowsTheBoxWhenItMovesHidesOrGoes) {
    SetWindowPos(edit_.GetWindow(), nullptr, 50, 70, 150, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT spinBounds{};
    GetWindowRect(spin_, &spinBounds);
    MapWindowPoints(nullptr, formWindow_, reinterpret_cast<POINT*>(&spinBounds), 2);
    EXPECT_EQ(spinBounds.left, 50 + 150 - 18);
    EXPECT_EQ(spinBounds.top, 70);
    EXPECT_EQ(spinBounds.bottom - spinBounds.top, 30);

    ShowWindow(edit_.GetWindow(), SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(spin_));
    ShowWindow(edit_.GetWindow(), SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(spin_));

    DestroyWindow(edit_.GetWindow());
    EXPECT_FALSE(IsWindow(spin_));
}

// An edit box that has seen a dialog's WM_GETDLGCODE for Esc, then Esc itself; true when it asked its
// parent to close.
bool EscapeClosesTheParent(HWND edit, HWND parent) {
    MSG escape{edit, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    SendMessageW(edit, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape));
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    MSG posted{};
    return PeekMessageW(&posted, parent, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}

TEST_F(EditTest, EscapeInAMultiLineBoxDoesNotCloseTheForm) {
    CVolWinEdit multi;
    multi.SetMultiLine(true);
    ASSERT_TRUE(CreateChild(multi, 10, 100, 100, 60, 70));
    EXPECT_FALSE(EscapeClosesTheParent(multi.GetWindow(), formWindow_));

    // The system's own multi-line box would.
    const HWND system = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_MULTILINE, 0, 0, 50, 50, formWindow_,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(system, nullptr);
    EXPECT_TRUE(EscapeClosesTheParent(system, formWindow_));
    DestroyWindow(system);
}

TEST_F(EditTest, MultiLineBoxGetsNoSpin) {
    CVolWinEdit multi;
    multi.SetMultiLine(true);
    multi.SetSpin(1, 0, 10);
    ASSERT_TRUE(CreateChild(multi, 10, 100, 100, 60, 70));
    EXPECT_EQ(GetDlgItem(formWindow_, 1070), nullptr);
}

}  // namespace
