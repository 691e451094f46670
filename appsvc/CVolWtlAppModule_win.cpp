#include <new>

#include "appsvc/CVolWtlAppModule.h"

CVolWtlAppModule::CVolWtlAppModule() {
    lockReady_ = InitializeCriticalSectionEx(&lock_, 0, 0) != FALSE;
}

CVolWtlAppModule::~CVolWtlAppModule() {
    // A program that never reached Term still returns what the module holds; windows are not
    // touched at process exit.
    delete loopRegistry_;
    loopRegistry_ = nullptr;
    delete settingWindows_;
    settingWindows_ = nullptr;
    if (lockReady_) {
        DeleteCriticalSection(&lock_);
        lockReady_ = false;
    }
}

HRESULT CVolWtlAppModule::Init() {
    mainThreadId_ = GetCurrentThreadId();
    if (loopRegistry_ == nullptr) {
        loopRegistry_ = new (std::nothrow) LoopRegistry;
        if (loopRegistry_ == nullptr) {
            return E_OUTOFMEMORY;
        }
    }
    if (!lockReady_) {
        lockReady_ = InitializeCriticalSectionEx(&lock_, 0, 0) != FALSE;  // after an earlier Term
    }
    return S_OK;
}

bool CVolWtlAppModule::AddMessageLoop(CMessageLoop* loop) {
    if (loop == nullptr || !lockReady_) {
        return false;
    }
    EnterCriticalSection(&lock_);
    bool added = false;
    if (loopRegistry_ != nullptr) {
        loopRegistry_->threadIds.push_back(GetCurrentThreadId());
        loopRegistry_->loops.push_back(loop);
        ++loopRegistry_->count;
        added = true;
    }
    LeaveCriticalSection(&lock_);
    return added;
}

bool CVolWtlAppModule::RemoveMessageLoop() {
    if (!lockReady_) {
        return false;
    }
    EnterCriticalSection(&lock_);
    bool removed = false;
    if (loopRegistry_ != nullptr) {
        const DWORD thread = GetCurrentThreadId();
        for (int i = 0; i < loopRegistry_->count; ++i) {
            if (loopRegistry_->threadIds[i] == thread) {
                loopRegistry_->threadIds.erase(loopRegistry_->threadIds.begin() + i);
                loopRegistry_->loops.erase(loopRegistry_->loops.begin() + i);
                --loopRegistry_->count;
                removed = true;
                break;
            }
        }
    }
    LeaveCriticalSection(&lock_);
    return removed;
}

CMessageLoop* CVolWtlAppModule::GetMessageLoop() const {
    if (!lockReady_) {
        return nullptr;
    }
    EnterCriticalSection(&lock_);
    CMessageLoop* loop = nullptr;
    if (loopRegistry_ != nullptr) {
        const DWORD thread = GetCurrentThreadId();
        for (int i = 0; i < loopRegistry_->count; ++i) {
            if (loopRegistry_->threadIds[i] == thread) {
                loop = loopRegistry_->loops[i];
                break;
            }
        }
    }
    LeaveCriticalSection(&lock_);
    return loop;
}

bool CVolWtlAppModule::AddTermCallback(TermCallback callback, void* context) {
    if (callback == nullptr || !lockReady_) {
        return false;
    }
    EnterCriticalSection(&lock_);
    termCallbacks_.push_back({callback, context});
    LeaveCriticalSection(&lock_);
    return true;
}

void CVolWtlAppModule::Term() {
    if (settingWindows_ != nullptr && !settingWindows_->empty()) {
        DestroyWindow(settingWindows_->front());
    }
    delete settingWindows_;
    settingWindows_ = nullptr;
    delete loopRegistry_;
    loopRegistry_ = nullptr;

    std::vector<TermEntry> callbacks;
    callbacks.swap(termCallbacks_);
    for (auto entry = callbacks.rbegin(); entry != callbacks.rend(); ++entry) {
        entry->callback(entry->context);
    }

    if (lockReady_) {
        DeleteCriticalSection(&lock_);
        lockReady_ = false;
    }
}

bool CVolWtlAppModule::OnWindowDestroyed(HWND window) const {
    if (window == nullptr || window != mainWindow_) {
        return false;
    }
    PostQuitMessage(0);
    return true;
}

CVolWtlAppModule& GetAppModule() {
    static CVolWtlAppModule module;
    return module;
}

namespace {
// Makes the module exist before the entry function runs, as the program's start-up order expects.
[[maybe_unused]] CVolWtlAppModule& moduleAtStartup = GetAppModule();
}  // namespace
