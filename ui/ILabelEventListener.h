#pragma once

#include <cstdint>

#include "ui/IBaseEventListener.h"

class ILabelEventListener : public IBaseEventListener {
public:
    // Slot 1: raises the label event; its result is the answer to the sender of the message.
    virtual std::int32_t OnLabelEvent(std::int64_t first, std::int64_t second) = 0;

protected:
    ~ILabelEventListener() = default;
};
