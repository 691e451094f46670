#pragma once

#include "appsvc/Win32Api.h"

#include <vector>

#include "appsvc/IIdleHandler.h"
#include "appsvc/IMessageFilter.h"

// The message pump of one user-interface thread: message filters, idle handlers and the idle rule.
// The filters and idle handlers are not owned; whoever adds one removes it before it goes away.
class CMessageLoop {
public:
    // Construction
    CMessageLoop() = default;
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;
    virtual ~CMessageLoop();  // slot 0

    // Attributes
    const MSG& GetCurrentMessage() const { return msg_; }
    int GetFilterCount() const { return static_cast<int>(filters_.size()); }
    int GetIdleHandlerCount() const { return static_cast<int>(idleHandlers_.size()); }

    // Operations. Adding a null pointer or one already present does nothing and returns false;
    // removing one that is not present returns false.
    bool AddMessageFilter(IMessageFilter* filter);
    bool RemoveMessageFilter(IMessageFilter* filter);
    bool AddIdleHandler(IIdleHandler* handler);
    bool RemoveIdleHandler(IIdleHandler* handler);

    // Frees both arrays; the entry function does this once the loop is unregistered.
    void ClearHandlers();

    // Pumps until WM_QUIT and returns its wParam as the exit code.
    int Run();

    // Overridables
    virtual bool PreTranslateMessage(MSG* msg);        // slot 1: true when taken
    virtual bool OnIdle(int idleCount);                // slot 2: true to ask for another call
    virtual bool IsIdleMessage(const MSG* msg) const;  // slot 3: true when idle work restarts

protected:
    // The filters from the last added to the first; true as soon as one takes the message.
    bool RunMessageFilters(MSG* msg);
    // Every idle handler, first to last.
    void RunIdleHandlers();

private:
    std::vector<IMessageFilter*> filters_;
    std::vector<IIdleHandler*> idleHandlers_;
    MSG msg_{};
};
