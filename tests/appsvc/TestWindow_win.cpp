#include "TestWindow.h"

#include <algorithm>

#include "appsvc/FrameworkMessages.h"

namespace {

const wchar_t* RegisteredClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = DefWindowProcW;
        description.cbWndExtra = sizeof(void*);
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"MorvaneAppsvcTestWindow";
        return RegisterClassExW(&description);
    }();
    return MAKEINTATOM(atom);
}

}  // namespace

TestWindow::TestWindow(bool marked, HWND parent, DWORD style) {
    handle_ = CreateWindowExW(0, RegisteredClass(), L"", style, 0, 0, 50, 40, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (handle_ == nullptr) {
        return;
    }
    SetWindowLongPtrW(handle_, 0, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestWindow::WindowProc));
    if (marked) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, FRAMEWORK_MAGIC);
    }
}

TestWindow::~TestWindow() {
    Destroy();
}

void TestWindow::Destroy() {
    if (handle_ != nullptr && IsWindow(handle_)) {
        DestroyWindow(handle_);
    }
    handle_ = nullptr;
}

bool TestWindow::HasReceived(UINT message) const {
    return std::any_of(received.begin(), received.end(),
                       [message](const auto& r) { return r.message == message; });
}

bool TestWindow::WasOffered(UINT message) const {
    return std::find(offered.begin(), offered.end(), message) != offered.end();
}

LRESULT CALLBACK TestWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, 0));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        self->handle_ = nullptr;
    }
    return self->OnMessage(window, message, wParam, lParam);
}

LRESULT TestWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == VM_PRETRANSLATE && lParam == FRAMEWORK_MAGIC) {
        offered.push_back(reinterpret_cast<const MSG*>(wParam)->message);
        return preTranslateAnswer;
    }
    received.push_back({message, wParam, lParam});
    if (handler) {
        if (std::optional<LRESULT> answer = handler(message, wParam, lParam)) {
            return *answer;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void DrainThreadQueue() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
