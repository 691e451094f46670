#pragma once

#include <cstdint>

#include "ui/IBaseEventListener.h"

class IEditEventListener : public IBaseEventListener {
public:
    virtual void OnFirstEvent() = 0;                     // slot 1: TextChanged
    virtual void OnSecondEvent(std::int32_t value) = 0;  // slot 2

protected:
    ~IEditEventListener() = default;
};
