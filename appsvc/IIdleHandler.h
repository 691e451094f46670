#pragma once

// Idle-time work of a message loop, called once each time the thread's queue runs dry.
class IIdleHandler {
public:
    // Slot 0. The result is ignored by the loops of this library.
    virtual bool OnIdle() = 0;

protected:
    ~IIdleHandler() = default;
};
