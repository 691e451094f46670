#pragma once

#include "appsvc/CVolMessageLoop.h"

class CVolWinApp;

// The program's main message loop: the application hook first, then the message filters, then the
// framework windows; at idle time the worker sweep, the application's idle hook and the idle handlers,
// exactly once per idle period.
class CVolMainMessageLoop : public CVolMessageLoop {
public:
    // `app` may be null (an application object that is not a CVolWinApp has no hooks).
    explicit CVolMainMessageLoop(CVolWinApp* app) : app_(app) {}

    CVolWinApp* GetApp() const { return app_; }

    bool PreTranslateMessage(MSG* msg) override;
    bool OnIdle(int idleCount) override;

private:
    CVolWinApp* app_;
};
