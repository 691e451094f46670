#pragma once

#include <cstdint>

#include "ui/IBaseEventListener.h"

class IContainerEventListener : public IBaseEventListener {
public:
    virtual void OnCreate() = 0;                         // slot 1: CreateChildren, then Created
    virtual void OnDestroy() = 0;                        // slot 2
    virtual void OnThirdEvent() = 0;                     // slot 3: no message raises it
    virtual void OnSize() = 0;                           // slot 4
    virtual void OnShow(bool shown) = 0;                 // slot 5: Shown or Hidden
    virtual void OnMove() = 0;                           // slot 6
    virtual bool OnCommand(std::int32_t commandId) = 0;  // slot 7: true consumes

protected:
    ~IContainerEventListener() = default;
};
