#include "ui/CVolWinControl.h"

#include "appsvc/KeyCode.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "ui/CVolWinPanel.h"
#include "ui/ControlFonts.h"
#include "ui/DroppedFiles.h"

namespace {

inline constexpr std::int32_t kWheelNotch = WHEEL_DELTA;
inline constexpr unsigned int kKeyModifierMask = KEYMOD_CTRL | KEYMOD_ALT | KEYMOD_SHIFT;
// WM_GETDLGCODE bits of a window that wants keyboard input: arrows, tab, all keys, characters.
inline constexpr LRESULT kWantsKeyboard = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
// The message the shell's drag and drop sends across integrity levels; the SDK does not name it.
inline constexpr UINT WM_COPYGLOBALDATA = 0x49;
// Messages let through the integrity-level filter for drops.
inline constexpr UINT kDropMessages[] = {WM_DROPFILES, WM_COPYDATA, WM_COPYGLOBALDATA};

using ChangeWindowMessageFilterExFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);

// Ctrl and Shift come with the mouse message; Alt is read from the keyboard state.
std::int32_t MouseKeyFlags(WPARAM keys) {
    std::int32_t flags = 0;
    if ((keys & MK_CONTROL) != 0) {
        flags |= KEYMOD_CTRL;
    }
    if ((keys & MK_SHIFT) != 0) {
        flags |= KEYMOD_SHIFT;
    }
    if (GetKeyState(VK_MENU) < 0) {
        flags |= KEYMOD_ALT;
    }
    return flags;
}

}  // namespace

CVolWinControl::CVolWinControl(const CVolWinControl& other)
    : CVolRefObject(other), textValue_(other.textValue_) {}

CVolWinControl& CVolWinControl::operator=(const CVolWinControl& other) {
    Assign(other);
    return *this;
}

// The bindings go (members, in reverse order), then the text value, then the bridge (base class).
CVolWinControl::~CVolWinControl() {
    MarkDestroying();
}

const CVolClassInfo& CVolWinControl::ClassInfo() {
    static const CVolClassInfo info("CVolWinControl", &CVolRefObject::ClassInfo(),
                                    &CreateVolObject<CVolWinControl>);
    return info;
}

const CVolClassInfo& CVolWinControl::GetClassInfo() const {
    return ClassInfo();
}

CVWnd_Base* CVolWinControl::GetNativeObject() const {
    const CWtlWndObject* bridge = GetBridge();
    return bridge != nullptr ? bridge->GetNativeObject() : nullptr;
}

HWND CVolWinControl::GetWindow() const {
    const CWtlWndObject* bridge = GetBridge();
    return bridge != nullptr ? bridge->GetWindow() : nullptr;
}

bool CVolWinControl::IsEqual(const CVolObject& other) const {
    return CVolRefObject::IsEqual(other) &&
           textValue_.IsEqual(static_cast<const CVolWinControl&>(other).textValue_);
}

bool CVolWinControl::Assign(const CVolObject& other) {
    if (!CVolRefObject::Assign(other)) {
        return false;
    }
    textValue_ = static_cast<const CVolWinControl&>(other).textValue_;
    return true;
}

void CVolWinControl::Reset() {
    CVolRefObject::Reset();
    textValue_.Empty();
}

void CVolWinControl::LoadFromStream(CVolInStream& input) {
    if (input.IsGood()) {
        textValue_.LoadFromStream(input);
    }
}

void CVolWinControl::SaveToStream(CVolOutStream& output) const {
    if (output.IsGood()) {
        textValue_.SaveToStream(output);
    }
}

void CVolWinControl::PrepareReset() {
    DetachListener();
}

CWString CVolWinControl::GetText() const {
    CWString text;
    const HWND window = GetWindow();
    if (window == nullptr) {
        if (const CWtlWndObject* bridge = GetBridge()) {
            text = bridge->GetPendingText();
        }
        return text;
    }
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return text;
    }
    CVolMem buffer;
    auto* units = static_cast<wchar_t*>(buffer.SetSize((static_cast<std::int64_t>(length) + 1) * 2));
    const int read = GetWindowTextW(window, units, length + 1);
    text.SetUnits(reinterpret_cast<const char16_t*>(units), read);
    return text;
}

void CVolWinControl::SetText(const char16_t* text) {
    const HWND window = GetWindow();
    if (window == nullptr) {
        if (CWtlWndObject* bridge = GetBridge()) {
            bridge->SetPendingText(text);
        }
        return;
    }
    SetWindowTextW(window, reinterpret_cast<const wchar_t*>(text != nullptr ? text : u""));
    // Panels and forms paint their background themselves; other controls repaint with their text.
    if (!IsKindOf(CVolWinPanel::ClassInfo())) {
        InvalidateRect(window, nullptr, TRUE);
    }
}

bool CVolWinControl::SetFontFromText(const char16_t* description) {
    CWtlWndObject* bridge = GetBridge();
    if (bridge == nullptr) {
        return false;
    }
    const LOGFONTW logFont = LogFontFromText(description);
    const HFONT font = CreateFontIndirectW(&logFont);
    if (font == nullptr) {
        return false;
    }
    const HFONT previous = bridge->ExchangeFont(font);
    if (const HWND window = GetWindow()) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (previous != nullptr) {
        DeleteObject(previous);
    }
    return true;
}

void CVolWinControl::SetCursor(HCURSOR cursor) {
    if (CWtlWndObject* bridge = GetBridge()) {
        bridge->SetCursor(cursor);
    }
}

void CVolWinControl::AcceptDroppedFiles() {
    const HWND window = GetWindow();
    if (window == nullptr) {
        return;
    }
    DragAcceptFiles(window, TRUE);
    // Looked up by name: the export does not exist on every system the program runs on.
    const HMODULE user32 = GetModuleHandleW(L"User32.dll");
    const auto allow = user32 != nullptr
                           ? reinterpret_cast<ChangeWindowMessageFilterExFunction>(reinterpret_cast<void*>(
                                 GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
                           : nullptr;
    if (allow == nullptr) {
        return;
    }
    for (const UINT message : kDropMessages) {
        allow(window, message, MSGFLT_ALLOW, nullptr);
    }
}

bool CVolWinControl::SetStyleBits(HWND window, DWORD remove, DWORD add, UINT extraPositionFlags) {
    const DWORD old = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD style = (old & ~remove) | add;
    if (style == old) {
        return false;
    }
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 extraPositionFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool CVolWinControl::CreateControl(ControlCreateInfo& /*info*/) {
    return false;
}

void CVolWinControl::PrepareCreateInfo(ControlCreateInfo& info) {
    CWtlWndObject* bridge = GetBridge();
    if (bridge == nullptr) {
        info.text = u"";
        return;
    }
    info.text = bridge->GetPendingText().GetText();
    info.style = bridge->GetStyle();
    info.exStyle = bridge->GetExStyle();
    // A window with a parent is a child unless it is a popup.
    if (info.parent != nullptr && (info.style & WS_POPUP) == 0) {
        info.style |= WS_CHILD;
    } else {
        info.style &= ~static_cast<std::uint32_t>(WS_CHILD);
    }
    if (bridge->GetFont() == nullptr) {
        bridge->ExchangeFont(CreateDefaultControlFont());
    }
    info.font = bridge->GetFont();
}

void CVolWinControl::AdjustCreateInfo(ControlCreateInfo& /*info*/) {}

void CVolWinControl::OnCreated(HWND window, ControlCreateInfo& info) {
    if (info.font != nullptr) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(info.font), TRUE);
    }
    if ((info.style & WS_TABSTOP) == 0 && (SendMessageW(window, WM_GETDLGCODE, 0, 0) & kWantsKeyboard) != 0) {
        SetStyleBits(window, 0, WS_TABSTOP, 0);
    }
    if ((info.style & WS_BORDER) == 0 && (GetWindowLongW(window, GWL_STYLE) & WS_BORDER) != 0) {
        SetStyleBits(window, WS_BORDER, 0, SWP_FRAMECHANGED);
    }
    if (info.owner != nullptr && info.owner->GetWindow() != nullptr) {
        created_.Raise(this, info.owner, info.id);
    }
}

bool CVolWinControl::HandleMessage(MessageRecord& record) {
    if (message_.Raise(this, record.window, record.message, record.wParam, record.lParam, &record) != 0) {
        return true;
    }
    switch (record.message) {
        case WM_LBUTTONDOWN:
            return RaiseMouseEvent(leftDown_, record);
        case WM_LBUTTONUP:
            return RaiseMouseEvent(leftUp_, record);
        case WM_LBUTTONDBLCLK:
            return RaiseMouseEvent(leftDoubleClick_, record);
        case WM_RBUTTONDOWN:
            return RaiseMouseEvent(rightDown_, record);
        case WM_RBUTTONUP:
            return RaiseMouseEvent(rightUp_, record);
        case WM_MBUTTONDOWN:
            return RaiseMouseEvent(middleDown_, record);
        case WM_MBUTTONUP:
            return RaiseMouseEvent(middleUp_, record);
        case WM_MOUSEMOVE:
            return RaiseMouseEvent(mouseMove_, record);
        case WM_MOUSEWHEEL:
            return wheel_.Raise(this, GET_WHEEL_DELTA_WPARAM(record.wParam) / kWheelNotch,
                                MouseKeyFlags(GET_KEYSTATE_WPARAM(record.wParam))) != 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return RaiseKeyEvent(keyDown_, record);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return RaiseKeyEvent(keyUp_, record);
        case WM_SETFOCUS:
            return gotFocus_.Raise(this) != 0;
        case WM_KILLFOCUS:
            return lostFocus_.Raise(this) != 0;
        case WM_CHAR: {
            // Negative swallows the character, positive replaces it, 0 leaves it.
            const std::int32_t answer = char_.Raise(this, static_cast<std::int32_t>(record.wParam & 0xFFFF));
            if (answer < 0) {
                return true;
            }
            if (answer > 0) {
                record.wParam = static_cast<WPARAM>(answer);
            }
            return false;
        }
        case WM_SETCURSOR: {
            const CWtlWndObject* bridge = GetBridge();
            if (bridge == nullptr || bridge->GetCursor() == nullptr) {
                return false;
            }
            ::SetCursor(bridge->GetCursor());
            record.result = TRUE;
            return true;
        }
        case WM_DROPFILES:
            // Never consumed: the window's default processing follows whatever the handler does.
            HandleDroppedFiles(reinterpret_cast<HDROP>(record.wParam));
            return false;
        default:
            return false;
    }
}

void CVolWinControl::AttachListener() {}

void CVolWinControl::DetachListener() {}

bool CVolWinControl::HasListener() const {
    return false;
}

bool CVolWinControl::RaiseMouseEvent(MouseEventSlot& event, const MessageRecord& record) {
    const auto x = static_cast<std::int32_t>(static_cast<short>(LOWORD(record.lParam)));
    const auto y = static_cast<std::int32_t>(static_cast<short>(HIWORD(record.lParam)));
    return event.Raise(this, x, y, MouseKeyFlags(record.wParam)) != 0;
}

bool CVolWinControl::RaiseKeyEvent(KeyEventSlot& event, const MessageRecord& record) {
    const unsigned int keyCode = KeyCodeFromVirtualKey(static_cast<unsigned int>(record.wParam));
    static_assert(~kKeyModifierMask == 0xFFFF1FFF);
    return event.Raise(this, static_cast<std::int32_t>(keyCode & ~kKeyModifierMask),
                       static_cast<std::int32_t>(keyCode & kKeyModifierMask)) != 0;
}

void CVolWinControl::HandleDroppedFiles(HDROP drop) {
    CMStringArray paths;
    if (ReadDroppedFiles(drop, paths) > 0) {
        filesDropped_.Raise(this, paths);
    }
}
