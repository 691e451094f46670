#include "appsvc/CVolMainMessageLoop.h"

#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolWinApp.h"
#include "appsvc/FrameworkPreTranslate.h"

bool CVolMainMessageLoop::PreTranslateMessage(MSG* msg) {
    if (app_ != nullptr &&
        app_->OnPreTranslateMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam, msg) == 0) {
        return true;  // swallowed by the application
    }
    return RunMessageFilters(msg) || FrameworkPreTranslate(msg);
}

bool CVolMainMessageLoop::OnIdle(int /*idleCount*/) {
    GetAppInstance().GetWorkerPool().Sweep();
    if (app_ != nullptr) {
        app_->OnIdle(0);
    }
    RunIdleHandlers();
    return false;  // one idle call per idle period
}
