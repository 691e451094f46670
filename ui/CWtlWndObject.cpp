#include "ui/CWtlWndObject.h"

const CVolClassInfo& CWtlWndObject::ClassInfo() {
    static const CVolClassInfo info("CWtlWndObject", &CRefObject::ClassInfo());
    return info;
}

const CVolClassInfo& CWtlWndObject::GetClassInfo() const {
    return ClassInfo();
}

CWtlWndObject::~CWtlWndObject() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

HFONT CWtlWndObject::ExchangeFont(HFONT font) {
    const HFONT previous = font_;
    font_ = font;
    return previous;
}

void CWtlWndObject::DestroyWindow() {
    const HWND window = GetWindow();
    if (window != nullptr && IsWindow(window)) {
        ::DestroyWindow(window);
    }
    // A window that could not be destroyed keeps its handle, so that the native object can still
    // detach from it before it is deleted.
    if (windowHandle_ != nullptr && (window == nullptr || !IsWindow(window))) {
        *windowHandle_ = nullptr;
    }
}

// The window goes first, while the native object that runs its procedure still exists.
void CWtlWndObject::OnFinalRelease() {
    DestroyWindow();
}
