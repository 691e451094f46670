#include "ui/NotificationReflection.h"

namespace {

bool IsControlColorMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

HWND ExistingWindow(HWND window) {
    return window != nullptr && IsWindow(window) ? window : nullptr;
}

HWND ChildWithId(HWND parent, UINT id) {
    return id != 0 ? GetDlgItem(parent, static_cast<int>(id)) : nullptr;
}

}  // namespace

HWND FindNotificationSource(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:  // lParam 0: a menu item or an accelerator
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_HSCROLL:  // lParam 0: the window's own scroll bar
        case WM_VSCROLL:
            return ExistingWindow(reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            return header != nullptr ? ExistingWindow(header->hwndFrom) : nullptr;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            return wParam != 0 && item != nullptr && item->CtlType != ODT_MENU
                       ? ExistingWindow(item->hwndItem)
                       : nullptr;
        }
        case WM_MEASUREITEM: {
            const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
            return item != nullptr && item->CtlType != ODT_MENU ? ChildWithId(parent, item->CtlID) : nullptr;
        }
        case WM_COMPAREITEM: {
            const auto* item = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam);
            return item != nullptr ? ExistingWindow(item->hwndItem) : nullptr;
        }
        case WM_DELETEITEM: {
            const auto* item = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
            return item != nullptr ? ExistingWindow(item->hwndItem) : nullptr;
        }
        case WM_PARENTNOTIFY:
            // Creation and destruction name the child in lParam; mouse notices carry a point there instead.
            if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY) {
                return ExistingWindow(reinterpret_cast<HWND>(lParam));
            }
            return ChildWithId(parent, HIWORD(wParam));
        default:
            return IsControlColorMessage(message) ? ExistingWindow(reinterpret_cast<HWND>(lParam)) : nullptr;
    }
}

bool ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const HWND child = FindNotificationSource(parent, message, wParam, lParam);
    if (child == nullptr || child == parent) {
        return false;
    }
    result = SendMessageW(child, message + REFLECTED_MESSAGE_OFFSET, wParam, lParam);
    return !(IsControlColorMessage(message) && result == 0);
}

bool IsReflectedMessage(UINT message) {
    if (message < REFLECTED_MESSAGE_OFFSET) {
        return false;
    }
    const UINT original = message - REFLECTED_MESSAGE_OFFSET;
    switch (original) {
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_DELETEITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_NOTIFY:
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_PARENTNOTIFY:
            return true;
        default:
            return IsControlColorMessage(original);
    }
}

bool DefaultReflectionHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!IsReflectedMessage(message)) {
        return false;
    }
    result = DefWindowProcW(window, message - REFLECTED_MESSAGE_OFFSET, wParam, lParam);
    return true;
}
