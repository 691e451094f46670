#include "appsvc/CVolMessageLoop.h"
#include "appsvc/FrameworkPreTranslate.h"

bool CVolMessageLoop::PreTranslateMessage(MSG* msg) {
    return RunMessageFilters(msg) || FrameworkPreTranslate(msg);
}
