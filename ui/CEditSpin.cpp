#include "ui/CEditSpin.h"

#include <commctrl.h>

#include "appsvc/CVolAppInstance.h"
#include "ui/CVWnd_Edit.h"
#include "ui/NotificationReflection.h"

namespace {

inline constexpr UINT kReflectedNotify = WM_NOTIFY + REFLECTED_MESSAGE_OFFSET;

}  // namespace

HWND CEditSpin::Create(HWND parent, int id, DWORD style) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    const HWND window = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, style, 0, 0, kWidth, 0, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                        GetAppInstance().GetInstanceHandle(), nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    if (!SubclassWindow(window)) {
        DestroyWindow(window);
        return nullptr;
    }
    // An increasing range, so that the upper arrow counts up; the position stays in the middle.
    SendMessageW(window, UDM_SETRANGE32, static_cast<WPARAM>(-1), 1);
    SendMessageW(window, UDM_SETPOS32, 0, 0);
    return window;
}

LRESULT CEditSpin::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReflectedNotify) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->code == static_cast<UINT>(UDN_DELTAPOS)) {
            const int delta = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
            if (delta != 0) {
                edit_.StepBySpin(delta > 0 ? 1 : -1);
            }
            return 1;  // the up-down's own position stays
        }
    }
    return CVWnd_Base::HandleOwnMessage(message, wParam, lParam);
}
