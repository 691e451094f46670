#pragma once

#include "appsvc/Win32Api.h"

#include <cstdint>
#include <vector>

class CMessageLoop;

// The module object: the thread-to-message-loop registry and the main window, whose destruction ends
// the program. Exactly one exists (GetAppModule), built on first use, at the latest during static
// construction.
class CVolWtlAppModule {
public:
    using TermCallback = void (*)(void* context);

    // Construction
    CVolWtlAppModule();
    CVolWtlAppModule(const CVolWtlAppModule&) = delete;
    CVolWtlAppModule& operator=(const CVolWtlAppModule&) = delete;
    ~CVolWtlAppModule();

    // Attributes
    DWORD GetMainThreadId() const { return mainThreadId_; }
    HWND GetMainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }
    bool HasLoopRegistry() const { return loopRegistry_ != nullptr; }

    // Operations
    // Records the calling thread as the main thread and creates the empty loop registry (an existing
    // one is kept). E_OUTOFMEMORY when the registry cannot be allocated, else S_OK.
    HRESULT Init();
    // Under the module lock: registers `loop` for the calling thread, or removes the calling thread's
    // entry. False without a registry (Init not run or Term already run), for a null loop, or when
    // there is nothing to remove.
    bool AddMessageLoop(CMessageLoop* loop);
    bool RemoveMessageLoop();
    // The loop registered for the calling thread, or null.
    CMessageLoop* GetMessageLoop() const;
    // Registers a callback that Term runs (last registered first).
    bool AddTermCallback(TermCallback callback, void* context);
    // Destroys the first setting-change window if there is one, frees the registries, runs the
    // clean-up callbacks and deletes the module lock. Running it twice does nothing the second time.
    void Term();

    // The rule every framework window procedure applies on WM_DESTROY: destroying the main window
    // posts WM_QUIT with exit code 0, which ends the main message loop. True when it posted.
    bool OnWindowDestroyed(HWND window) const;

private:
    struct LoopRegistry {
        std::vector<DWORD> threadIds;
        std::vector<CMessageLoop*> loops;
        int count = 0;
    };
    struct TermEntry {
        TermCallback callback;
        void* context;
    };

    mutable CRITICAL_SECTION lock_;
    bool lockReady_ = false;
    DWORD mainThreadId_ = 0;
    LoopRegistry* loopRegistry_ = nullptr;
    std::vector<HWND>* settingWindows_ = nullptr;  // never filled by this program
    std::vector<TermEntry> termCallbacks_;
    HWND mainWindow_ = nullptr;
};

// The one module object of the process.
CVolWtlAppModule& GetAppModule();
