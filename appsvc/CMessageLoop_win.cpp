#include <algorithm>

#include "appsvc/CMessageLoop.h"

namespace {

inline constexpr UINT WM_SYSTIMER = 0x118;  // caret blink

template <class T>
bool AddUnique(std::vector<T*>& items, T* item) {
    if (item == nullptr || std::find(items.begin(), items.end(), item) != items.end()) {
        return false;
    }
    items.push_back(item);
    return true;
}

template <class T>
bool RemoveOne(std::vector<T*>& items, T* item) {
    auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) {
        return false;
    }
    items.erase(found);
    return true;
}

}  // namespace

CMessageLoop::~CMessageLoop() = default;

bool CMessageLoop::AddMessageFilter(IMessageFilter* filter) {
    return AddUnique(filters_, filter);
}

bool CMessageLoop::RemoveMessageFilter(IMessageFilter* filter) {
    return RemoveOne(filters_, filter);
}

bool CMessageLoop::AddIdleHandler(IIdleHandler* handler) {
    return AddUnique(idleHandlers_, handler);
}

bool CMessageLoop::RemoveIdleHandler(IIdleHandler* handler) {
    return RemoveOne(idleHandlers_, handler);
}

void CMessageLoop::ClearHandlers() {
    std::vector<IMessageFilter*>().swap(filters_);
    std::vector<IIdleHandler*>().swap(idleHandlers_);
}

int CMessageLoop::Run() {
    bool doIdle = true;
    int idleCount = 0;
    for (;;) {
        while (doIdle && !PeekMessageW(&msg_, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) {
                doIdle = false;
            }
        }
        const BOOL got = GetMessageW(&msg_, nullptr, 0, 0);
        if (got == -1) {
            continue;  // a failed fetch is not fatal to the loop
        }
        if (got == 0) {
            break;
        }
        if (!PreTranslateMessage(&msg_)) {
            TranslateMessage(&msg_);
            DispatchMessageW(&msg_);
        }
        if (IsIdleMessage(&msg_)) {
            doIdle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(msg_.wParam);
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
    return RunMessageFilters(msg);
}

bool CMessageLoop::OnIdle(int /*idleCount*/) {
    RunIdleHandlers();
    return false;
}

bool CMessageLoop::IsIdleMessage(const MSG* msg) const {
    // Mouse movement, painting and the caret blink alone must not restart idle work, or a moving
    // mouse would keep the idle handlers running.
    switch (msg->message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_PAINT:
        case WM_SYSTIMER:
            return false;
        default:
            return true;
    }
}

bool CMessageLoop::RunMessageFilters(MSG* msg) {
    // Indexes are re-checked on every step: a filter may remove itself or others while it runs.
    for (std::size_t i = filters_.size(); i > 0; --i) {
        if (i <= filters_.size() && filters_[i - 1]->PreTranslateMessage(msg)) {
            return true;
        }
    }
    return false;
}

void CMessageLoop::RunIdleHandlers() {
    for (std::size_t i = 0; i < idleHandlers_.size(); ++i) {
        idleHandlers_[i]->OnIdle();
    }
}
