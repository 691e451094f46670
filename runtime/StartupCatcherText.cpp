#include "runtime/StartupCatcherText.h"

#include "runtime/CVolException.h"

CWString CaughtExceptionText(const CVolException& error) {
    CWString text;
    text.Format(u"俘获到异常,代码值为: %d, 描述为: %s", static_cast<int>(error.GetCode()),
                error.GetDescription().GetText());
    return text;
}

const char16_t* UnmanagedExceptionText() {
    return u"程序在运行时抛出了未被管理的异常";
}
