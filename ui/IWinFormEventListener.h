#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "ui/IContainerEventListener.h"

// The form's listener. A form implements it beside its panel's IContainerEventListener; slots 0 to 7
// of this one forward to the panel's.
class IWinFormEventListener : public IContainerEventListener {
public:
    virtual bool OnFormHook() = 0;                       // slot 8: answers the form's slot-29 hook
    virtual void OnMenuSelect(std::int32_t itemId) = 0;  // slot 9
    virtual bool OnClosing() = 0;                        // slot 10: false cancels
    virtual bool OnQueryClose() = 0;                     // slot 11: false cancels
    virtual void OnFirstActivated() = 0;                 // slot 12
    virtual void OnActivated() = 0;                      // slot 13
    virtual void OnDeactivated() = 0;                    // slot 14
    virtual void OnTrayIcon(std::int32_t action) = 0;    // slot 15: 1 left up, 2 double, 3 right
    virtual void OnMinMaxInfo(MINMAXINFO& info) = 0;     // slot 16
    virtual void OnModalStarting() = 0;                  // slot 17

protected:
    ~IWinFormEventListener() = default;
};
