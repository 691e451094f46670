#pragma once

#include "appsvc/Win32Api.h"

// What the modal loop needs of the form it runs for. The form's native window implements it; the
// loop reads and writes the modal state and result the form keeps, and the form ends the loop by
// setting the state back to idle (on close, on destruction, or when its code ends the dialog).
class IModalLoopOwner {
public:
    static inline constexpr int kModalIdle = 0;
    static inline constexpr int kModalRunning = 1;

    virtual HWND GetModalWindow() const = 0;
    virtual int GetModalState() const = 0;
    virtual void SetModalState(int state) = 0;
    virtual int GetModalResult() const = 0;
    virtual void SetModalResult(int result) = 0;
    // Raises the form's ModalStarting event when the form has a listener; nothing otherwise.
    virtual void NotifyModalStarting() = 0;

protected:
    ~IModalLoopOwner() = default;
};
