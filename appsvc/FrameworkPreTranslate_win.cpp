#include "appsvc/FrameworkMessages.h"
#include "appsvc/FrameworkPreTranslate.h"

bool IsPreTranslatedMessage(UINT message) {
    // The keyboard range ends with WM_UNICHAR, the mouse range with WM_MOUSEHWHEEL, whatever the
    // system headers make of WM_KEYLAST and WM_MOUSELAST.
    return (message >= WM_KEYFIRST && message <= WM_UNICHAR) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSEHWHEEL);
}

bool FrameworkPreTranslate(MSG* msg) {
    if (msg == nullptr || !IsPreTranslatedMessage(msg->message)) {
        return false;
    }
    // Foreign windows cost one GetWindowLongPtrW each; the walk ends at the first top-level window.
    for (HWND window = msg->hwnd; window != nullptr; window = GetParent(window)) {
        if (GetWindowLongPtrW(window, GWLP_USERDATA) == FRAMEWORK_MAGIC &&
            SendMessageW(window, VM_PRETRANSLATE, reinterpret_cast<WPARAM>(msg), FRAMEWORK_MAGIC) ==
                FRAMEWORK_MAGIC) {
            return true;
        }
        if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return false;
}
