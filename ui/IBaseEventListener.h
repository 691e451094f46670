#pragma once

#include "ui/MessageRecord.h"

// What a native window calls on its control. Every message goes to OnMessage first, which hands it to
// the control's HandleMessage; the derived interfaces add the notifications of each kind of window.
// Listeners are never deleted through these interfaces.
class IBaseEventListener {
public:
    // Slot 0: true when the message is consumed (record.result is then the answer).
    virtual bool OnMessage(MessageRecord& record) = 0;

protected:
    ~IBaseEventListener() = default;
};
