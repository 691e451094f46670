#include "ui/CVWnd_Edit.h"

#include <algorithm>

#include "runtime/CVolMem.h"
#include "runtime/NumberText.h"
#include "ui/CEditSpin.h"
#include "ui/NotificationReflection.h"
#include "ui/RejectionBeep.h"
#include "ui/SystemColor.h"

namespace {

inline constexpr UINT kReflectedCommand = WM_COMMAND + REFLECTED_MESSAGE_OFFSET;
inline constexpr UINT kReflectedColorEdit = WM_CTLCOLOREDIT + REFLECTED_MESSAGE_OFFSET;
inline constexpr UINT kReflectedColorStatic = WM_CTLCOLORSTATIC + REFLECTED_MESSAGE_OFFSET;
inline constexpr DWORD kMultiLineStyle = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
// The spin companion takes these from the edit's creation style.
inline constexpr DWORD kSpinSharedStyle = WS_VISIBLE | WS_DISABLED;

bool HasHorizontalBar(int scrollBars) {
    return scrollBars == CVWnd_Edit::kScrollBarsHorizontal || scrollBars == CVWnd_Edit::kScrollBarsBoth;
}

bool HasVerticalBar(int scrollBars) {
    return scrollBars == CVWnd_Edit::kScrollBarsVertical || scrollBars == CVWnd_Edit::kScrollBarsBoth;
}

// Counts the program's own WM_SETTEXT, also when the default processing does not return normally.
class SettingTextScope {
public:
    explicit SettingTextScope(int& depth) : depth_(depth) { ++depth_; }
    ~SettingTextScope() { --depth_; }
    SettingTextScope(const SettingTextScope&) = delete;
    SettingTextScope& operator=(const SettingTextScope&) = delete;

private:
    int& depth_;
};

}  // namespace

CVWnd_Edit::CVWnd_Edit() = default;

CVWnd_Edit::~CVWnd_Edit() {
    DestroySpin();
    CVWnd_Base::DeleteWhenIdle(spin_);
}

void CVWnd_Edit::SetTextColor(COLORREF color) {
    colors_.SetText(color);
    Repaint();
}

void CVWnd_Edit::SetBackgroundColor(COLORREF color) {
    if (colors_.SetBackground(color)) {
        Repaint();
    }
}

void CVWnd_Edit::SetMaxLength(int length) {
    maxLength_ = std::max(length, 0);
    if (GetHandle() != nullptr) {
        SendMessageW(GetHandle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    }
}

// On an existing window the read-only state and the password character follow the new type.
void CVWnd_Edit::SetInputType(int inputType) {
    inputType_ = inputType;
    const HWND window = GetHandle();
    if (window == nullptr) {
        return;
    }
    SendMessageW(window, EM_SETREADONLY, inputType_ == EDIT_INPUT_READ_ONLY, 0);
    SendMessageW(window, EM_SETPASSWORDCHAR, inputType_ == EDIT_INPUT_PASSWORD ? passwordChar_ : 0, 0);
    InvalidateRect(window, nullptr, TRUE);
}

void CVWnd_Edit::SetPasswordChar(char16_t character) {
    passwordChar_ = character;
    if (GetHandle() != nullptr && inputType_ == EDIT_INPUT_PASSWORD) {
        SendMessageW(GetHandle(), EM_SETPASSWORDCHAR, passwordChar_, 0);
        InvalidateRect(GetHandle(), nullptr, TRUE);
    }
}

void CVWnd_Edit::SetSpinRange(std::int32_t minimum, std::int32_t maximum) {
    spinMinimum_ = minimum;
    spinMaximum_ = maximum;
}

HWND CVWnd_Edit::GetSpinWindow() const {
    return spin_ != nullptr ? spin_->GetHandle() : nullptr;
}

std::uint32_t CVWnd_Edit::CompleteStyle(std::uint32_t style) const {
    if (multiLine_) {
        style |= kMultiLineStyle;
        if (HasHorizontalBar(scrollBars_)) {
            style |= ES_AUTOHSCROLL | WS_HSCROLL;
        }
        if (HasVerticalBar(scrollBars_)) {
            style |= WS_VSCROLL;
        }
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (inputType_ == EDIT_INPUT_READ_ONLY) {
        style |= ES_READONLY;
    } else if (inputType_ == EDIT_INPUT_PASSWORD) {
        style |= ES_PASSWORD;
    }
    return style;
}

HWND CVWnd_Edit::Create(const ControlCreateInfo& info) {
    const HWND window = CreateSubclassedWindow(u"EDIT", info);
    if (window == nullptr) {
        return nullptr;
    }
    SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (inputType_ == EDIT_INPUT_PASSWORD) {
        SendMessageW(window, EM_SETPASSWORDCHAR, passwordChar_, 0);
    }
    if (!multiLine_ && spinStep_ != 0) {
        CreateSpin(info);
    }
    return window;
}

void CVWnd_Edit::StepBySpin(int direction) {
    const HWND window = GetHandle();
    if (window == nullptr || direction == 0) {
        return;
    }
    const std::int64_t low = std::min(spinMinimum_, spinMaximum_);
    const std::int64_t high = std::max(spinMinimum_, spinMaximum_);
    const CWString text = ReadText();
    const std::int64_t current = std::clamp(ParseDecimal64(text.GetText()), low, high);
    const std::int64_t step = direction > 0 ? spinStep_ : -static_cast<std::int64_t>(spinStep_);
    const auto value = static_cast<std::int32_t>(std::clamp(current + step, low, high));
    char16_t digits[INTEGER_TEXT_CAPACITY];
    Int32ToText(value, digits);
    // Replaced as typing would replace it: undoable, and reported as a change of the user's.
    SendMessageW(window, EM_SETSEL, 0, -1);
    SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits));
    // A TextChanged handler may have destroyed the box, and this object with it.
    if (!IsWindow(window)) {
        return;
    }
    if (IEditEventListener* listener = GetEditListener()) {
        listener->OnSecondEvent(value);
    }
}

LRESULT CVWnd_Edit::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kReflectedCommand: {
            const WORD code = HIWORD(wParam);
            if (code == EN_CHANGE || code == EN_SETFOCUS || code == EN_KILLFOCUS) {
                OnReflectedCommand(code);
                return 0;
            }
            break;
        }
        case kReflectedColorEdit:
        case kReflectedColorStatic:
            return colors_.Answer(reinterpret_cast<HDC>(wParam));
        case WM_CHAR:
            if (!IsCharacterAccepted(inputType_, static_cast<char16_t>(wParam & 0xFFFF))) {
                SoundRejectionBeep();
                return 0;
            }
            break;
        case WM_KEYDOWN:
            // A multi-line box keeps Esc from closing its dialog.
            if (wParam == VK_ESCAPE && multiLine_) {
                return 0;
            }
            break;
        case WM_SETTEXT: {
            const SettingTextScope scope(settingText_);
            return CallDefaultProcedure(message, wParam, lParam);
        }
        case WM_SHOWWINDOW:
            // Only the edit's own showing and hiding; the spin, a sibling, hears about its parent itself.
            if (const HWND spin = GetSpinWindow(); spin != nullptr && lParam == 0) {
                ShowWindow(spin, wParam != 0 ? SW_SHOWNA : SW_HIDE);
            }
            break;
        case WM_ENABLE:
            if (const HWND spin = GetSpinWindow()) {
                EnableWindow(spin, wParam != 0);
            }
            break;
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = CallDefaultProcedure(message, wParam, lParam);
            PlaceSpin();
            return result;
        }
        case WM_DESTROY:
            DestroySpin();
            break;
        default:
            break;
    }
    return CVWnd_Base::HandleOwnMessage(message, wParam, lParam);
}

void CVWnd_Edit::OnReflectedCommand(WORD code) {
    switch (code) {
        case EN_CHANGE:
            if (settingText_ == 0) {
                if (IEditEventListener* listener = GetEditListener()) {
                    listener->OnFirstEvent();
                }
            }
            break;
        case EN_SETFOCUS:
            OfferFocusRecord(WM_SETFOCUS);
            break;
        case EN_KILLFOCUS:
            NormaliseText();
            OfferFocusRecord(WM_KILLFOCUS);
            break;
        default:
            break;
    }
}

void CVWnd_Edit::OfferFocusRecord(UINT message) {
    IBaseEventListener* listener = GetListener();
    const HWND window = GetHandle();
    if (listener == nullptr || window == nullptr) {
        return;
    }
    MessageRecord record{window, message, 0, 0, 0};
    offeringFocusRecord_ = true;
    listener->OnMessage(record);
    offeringFocusRecord_ = false;
}

// The tidied text replaces the typed one only when it differs; the caret stays where the selection
// started, and in view.
void CVWnd_Edit::NormaliseText() {
    const HWND window = GetHandle();
    const CWString text = ReadText();
    const CWString normal = NormaliseEditText(inputType_, text.GetText());
    if (normal.IsEqual(text)) {
        return;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SetWindowTextW(window, reinterpret_cast<const wchar_t*>(normal.GetText()));
    SendMessageW(window, EM_SETSEL, start, start);
    SendMessageW(window, EM_SCROLLCARET, 0, 0);
}

CWString CVWnd_Edit::ReadText() const {
    CWString text;
    const int length = GetWindowTextLengthW(GetHandle());
    if (length <= 0) {
        return text;
    }
    CVolMem buffer;
    auto* units = static_cast<wchar_t*>(buffer.SetSize((static_cast<std::int64_t>(length) + 1) * 2));
    const int read = GetWindowTextW(GetHandle(), units, length + 1);
    text.SetUnits(reinterpret_cast<const char16_t*>(units), read);
    return text;
}

void CVWnd_Edit::CreateSpin(const ControlCreateInfo& info) {
    if (spin_ == nullptr) {
        spin_ = new CEditSpin(*this);
    }
    const DWORD style = WS_CHILD | (info.style & kSpinSharedStyle);
    if (spin_->Create(info.parent, info.id + kSpinIdOffset, style) == nullptr) {
        return;
    }
    // The text stops short of the spin that covers the box's right end.
    SendMessageW(GetHandle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, CEditSpin::kWidth));
    PlaceSpin();
}

// Over the edit's right end, just above the edit in the z-order so that it stays visible, and in the
// edit's parent should the edit have moved to another.
void CVWnd_Edit::PlaceSpin() {
    const HWND spin = GetSpinWindow();
    const HWND window = GetHandle();
    if (spin == nullptr || window == nullptr) {
        return;
    }
    const HWND parent = GetParent(window);
    if (parent == nullptr) {
        return;
    }
    if (GetParent(spin) != parent) {
        SetParent(spin, parent);
    }
    RECT bounds{};
    GetWindowRect(window, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    const HWND above = GetWindow(window, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE;
    if (above == spin) {
        flags |= SWP_NOZORDER;
    }
    SetWindowPos(spin, above != nullptr ? above : HWND_TOP, bounds.right - CEditSpin::kWidth, bounds.top,
                 CEditSpin::kWidth, bounds.bottom - bounds.top, flags);
}

void CVWnd_Edit::DestroySpin() {
    const HWND spin = GetSpinWindow();
    if (spin != nullptr && IsWindow(spin)) {
        DestroyWindow(spin);
    }
}

void CVWnd_Edit::Repaint() const {
    if (GetHandle() != nullptr) {
        InvalidateRect(GetHandle(), nullptr, TRUE);
    }
}
