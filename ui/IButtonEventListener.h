#pragma once

#include "ui/IBaseEventListener.h"

class IButtonEventListener : public IBaseEventListener {
public:
    virtual void OnClick() = 0;  // slot 1: raises Clicked

protected:
    ~IButtonEventListener() = default;
};
