#include "ui/CVWnd_Base.h"

#include <exception>
#include <string_view>

#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolWtlAppModule.h"
#include "runtime/ThreadLocal.h"
#include "ui/FrameworkWindowMessages.h"
#include "ui/NotificationReflection.h"
#include "ui/WindowClassRegistry.h"

namespace {

// The window property that leads from a window to its native object.
constexpr wchar_t kObjectProperty[] = L"Morvane.CVWnd";

// The object whose window is being created: it takes the first message of the new window, which for
// top-level windows is WM_GETMINMAXINFO, before WM_NCCREATE.
thread_local ThreadLocal<CVWnd_Base*> creatingObject;

// Exceptions must not unwind through the system's frames between a window procedure and whoever sent
// the message. One raised while framework windows are being created (the program's start-up) is
// carried across CreateWindowExW and raised again there, so the start-up's catcher sees it; one
// raised while the message loop runs ends only the message that caused it. The exception is kept by
// the innermost creating call; the thread holds only the way to it.
thread_local ThreadLocal<std::exception_ptr*> creationException;

LRESULT AnswerForEscapedException(UINT message) {
    std::exception_ptr* slot = creationException.Get();
    if (slot != nullptr && *slot == nullptr) {
        *slot = std::current_exception();
    }
    // A window whose creation failed this way is not made.
    if (message == WM_NCCREATE) {
        return FALSE;
    }
    return message == WM_CREATE ? -1 : 0;
}

}  // namespace

CVWnd_Base::~CVWnd_Base() {
    // Normally the window is gone already; a window left behind must not lead to a freed object.
    if (window_ != nullptr) {
        Detach(window_);
    }
}

void CVWnd_Base::DeleteWhenIdle(CVWnd_Base* object) {
    if (object == nullptr) {
        return;
    }
    if (object->dispatchDepth_ > 0) {
        object->deletePending_ = true;
    } else {
        delete object;
    }
}

CVWnd_Base* CVWnd_Base::FromHandle(HWND window) {
    return window != nullptr ? static_cast<CVWnd_Base*>(GetPropW(window, kObjectProperty)) : nullptr;
}

bool CVWnd_Base::SubclassWindow(HWND window) {
    if (window_ != nullptr || window == nullptr || !IsWindow(window)) {
        return false;
    }
    Attach(window);
    const LONG_PTR previous =
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CVWnd_Base::WindowProcedure));
    if (previous == 0) {
        Detach(window);
        return false;
    }
    previousProcedure_ = reinterpret_cast<WNDPROC>(previous);
    subclassed_ = true;
    return true;
}

HWND CVWnd_Base::CreateSubclassedWindow(const char16_t* systemClass, const ControlCreateInfo& info) {
    const HWND window =
        CreateWindowExW(info.exStyle, reinterpret_cast<const wchar_t*>(systemClass),
                        reinterpret_cast<const wchar_t*>(info.text), info.style, info.x, info.y, info.width,
                        info.height, info.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(info.id)),
                        GetAppInstance().GetInstanceHandle(), nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    if (!SubclassWindow(window)) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

HWND CVWnd_Base::CreateFrameworkWindow(const WindowClassDescription& windowClass, HINSTANCE instance,
                                       DWORD exStyle, const char16_t* text, DWORD style, int x, int y,
                                       int width, int height, HWND parent, HMENU menuOrId) {
    if (window_ != nullptr || windowClass.atom == 0) {
        return nullptr;
    }
    previousProcedure_ = windowClass.baseProcedure != nullptr ? windowClass.baseProcedure : DefWindowProcW;
    std::exception_ptr raised;
    std::exception_ptr* const outer = creationException.Get();
    creationException.Set(&raised);
    creatingObject.Set(this);
    const HWND window =
        CreateWindowExW(exStyle, MAKEINTATOM(windowClass.atom), reinterpret_cast<const wchar_t*>(text), style,
                        x, y, width, height, parent, menuOrId, instance, nullptr);
    creationException.Set(outer);
    creatingObject.Set(nullptr);
    if (raised != nullptr) {
        if (window != nullptr && IsWindow(window)) {
            DestroyWindow(window);
        }
        std::rethrow_exception(raised);
    }
    return window;
}

LRESULT CVWnd_Base::CallDefaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    if (window_ == nullptr) {
        return 0;
    }
    return CallWindowProcW(previousProcedure_, window_, message, wParam, lParam);
}

LRESULT CALLBACK CVWnd_Base::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CVWnd_Base* self = FromHandle(window);
    if (self == nullptr && creatingObject.Get() != nullptr) {
        self = creatingObject.Get();
        creatingObject.Set(nullptr);
        self->Attach(window);
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    ++self->dispatchDepth_;
    LRESULT result = 0;
    try {
        result = self->ProcessMessage(message, wParam, lParam);
    } catch (...) {
        result = AnswerForEscapedException(message);
    }
    if (--self->dispatchDepth_ == 0 && self->deletePending_) {
        delete self;
    }
    return result;
}

LRESULT CVWnd_Base::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectNotification(window_, message, wParam, lParam, result)) {
        return result;
    }
    return CallDefaultProcedure(message, wParam, lParam);
}

LRESULT CVWnd_Base::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    LRESULT result = 0;
    if (!RunCommonSteps(message, wParam, lParam, result)) {
        result = HandleOwnMessage(message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        // Whoever took it, the window class must still free what it keeps for the window.
        CallDefaultProcedure(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY && window_ == window) {
        Detach(window);
    }
    return result;
}

bool CVWnd_Base::RunCommonSteps(UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
    const HWND window = window_;
    if (message == WM_DESTROY) {
        GetAppModule().OnWindowDestroyed(window);
    }
    if (HandlePrivateMessage(message, wParam, lParam)) {
        result = FRAMEWORK_MAGIC;
        return true;
    }
    if (filters_.ProcessMessage(window, message, wParam, lParam, result)) {
        return true;
    }
    if (listener_ == nullptr) {
        return false;
    }
    MessageRecord record{window, message, wParam, lParam, 0};
    const bool consumed = listener_->OnMessage(record);
    // A handler may have destroyed the window; nothing more may happen to it for this message.
    if (consumed || record.window != window || !IsWindow(window)) {
        result = record.result;
        return true;
    }
    wParam = record.wParam;  // a Char handler may have replaced the character
    return false;
}

bool CVWnd_Base::HandlePrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (lParam != FRAMEWORK_MAGIC) {
        return false;
    }
    switch (message) {
        case VM_SETLAYER:
            layer_ = static_cast<std::int32_t>(wParam);
            return true;
        case VM_GETLAYER:
            if (wParam == 0) {
                return false;
            }
            *reinterpret_cast<std::int32_t*>(wParam) = layer_;
            return true;
        case VM_QUERYOBJECT: {
            auto* query = reinterpret_cast<NativeObjectQuery*>(wParam);
            if (query == nullptr || query->className == nullptr || query->result == nullptr ||
                std::u16string_view(query->className) != GetNativeClassName()) {
                return false;
            }
            *query->result = this;
            return true;
        }
        default:
            return false;
    }
}

void CVWnd_Base::Attach(HWND window) {
    window_ = window;
    SetPropW(window, kObjectProperty, this);
}

void CVWnd_Base::Detach(HWND window) {
    if (subclassed_ &&
        GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CVWnd_Base::WindowProcedure)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure_));
    }
    RemovePropW(window, kObjectProperty);
    subclassed_ = false;
    window_ = nullptr;
}
