#pragma once

#include "appsvc/Win32Api.h"

// A hook of a message loop that may take a message before it is translated and dispatched.
class IMessageFilter {
public:
    // Slot 0: true when the message was taken.
    virtual bool PreTranslateMessage(MSG* msg) = 0;

protected:
    ~IMessageFilter() = default;
};
