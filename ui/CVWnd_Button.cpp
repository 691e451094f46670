#include "ui/CVWnd_Button.h"

#include "ui/CVWnd_WinForm.h"
#include "ui/FrameworkWindowMessages.h"
#include "ui/NotificationReflection.h"

namespace {

inline constexpr UINT kReflectedCommand = WM_COMMAND + REFLECTED_MESSAGE_OFFSET;
inline constexpr UINT kReflectedControlColorFirst = WM_CTLCOLORMSGBOX + REFLECTED_MESSAGE_OFFSET;
inline constexpr UINT kReflectedControlColorLast = WM_CTLCOLORSTATIC + REFLECTED_MESSAGE_OFFSET;
// The button kinds of the low style bits other than BS_PUSHBUTTON paint their own background.
inline constexpr DWORD kButtonKindBits = 7;

}  // namespace

CVWnd_Button::CVWnd_Button() = default;

CVWnd_Button::~CVWnd_Button() = default;

void CVWnd_Button::SetTextColor(COLORREF color) {
    colors_.SetText(color);
    Repaint();
}

void CVWnd_Button::SetBackgroundColor(COLORREF color) {
    if (colors_.SetBackground(color)) {
        Repaint();
    }
}

HWND CVWnd_Button::Create(const ControlCreateInfo& info) {
    const HWND window = CreateSubclassedWindow(u"BUTTON", info);
    if (window == nullptr) {
        return nullptr;
    }
    if ((info.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        RegisterAsDefaultButton(info.id);
    }
    return window;
}

LRESULT CVWnd_Button::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReflectedCommand && HIWORD(wParam) == BN_CLICKED) {
        if (IButtonEventListener* listener = GetButtonListener()) {
            listener->OnClick();
        }
        return 0;
    }
    if (message >= kReflectedControlColorFirst && message <= kReflectedControlColorLast) {
        return colors_.Answer(reinterpret_cast<HDC>(wParam));
    }
    if (message == WM_ERASEBKGND && (GetWindowLongW(GetHandle(), GWL_STYLE) & kButtonKindBits) != 0) {
        RECT client{};
        GetClientRect(GetHandle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, colors_.GetBrush());
    }
    LRESULT result = 0;
    if (DefaultReflectionHandler(GetHandle(), message, wParam, lParam, result)) {
        return result;
    }
    return CVWnd_Base::HandleOwnMessage(message, wParam, lParam);
}

// The nearest ancestor that is a form keeps the id; Enter in the form then presses this button.
void CVWnd_Button::RegisterAsDefaultButton(int id) const {
    for (HWND ancestor = GetParent(GetHandle()); ancestor != nullptr; ancestor = GetParent(ancestor)) {
        CVWnd_Base* found = nullptr;
        NativeObjectQuery query{u"CVWnd_WinForm", &found};
        if (SendMessageW(ancestor, VM_QUERYOBJECT, reinterpret_cast<WPARAM>(&query), FRAMEWORK_MAGIC) ==
                FRAMEWORK_MAGIC &&
            found != nullptr) {
            static_cast<CVWnd_WinForm*>(found)->SetDefaultButtonId(id);
            return;
        }
    }
}

void CVWnd_Button::Repaint() const {
    if (GetHandle() != nullptr) {
        InvalidateRect(GetHandle(), nullptr, TRUE);
    }
}
