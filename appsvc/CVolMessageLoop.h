#pragma once

#include "appsvc/CMessageLoop.h"

// A message loop whose pre-translation offers keyboard and mouse messages to the framework windows
// after the message filters.
class CVolMessageLoop : public CMessageLoop {
public:
    bool PreTranslateMessage(MSG* msg) override;
};
