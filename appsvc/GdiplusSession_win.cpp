#include "appsvc/GdiplusSession.h"

#include "appsvc/CVolAppInstance.h"
#include "appsvc/GdiplusApi.h"

bool EnsureGdiplus() {
    CVolAppInstance& instance = GetAppInstance();
    instance.LockGdiplus();
    bool started = instance.GetGdiplusToken() != 0;
    const GdiplusFunctions* functions = started ? nullptr : LoadGdiplusFunctions();
    if (functions != nullptr) {
        Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread, codecs
        ULONG_PTR token = 0;
        if (functions->GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok && token != 0) {
            instance.SetGdiplusToken(token);
            started = true;
        }
    }
    instance.UnlockGdiplus();
    return started;
}

void ShutdownGdiplus() {
    CVolAppInstance& instance = GetAppInstance();
    instance.LockGdiplus();
    if (const ULONG_PTR token = instance.GetGdiplusToken(); token != 0) {
        GdiplusCalls().GdiplusShutdown(token);
        instance.SetGdiplusToken(0);
    }
    instance.UnlockGdiplus();
}

bool IsGdiplusStarted() {
    CVolAppInstance& instance = GetAppInstance();
    instance.LockGdiplus();
    const bool started = instance.GetGdiplusToken() != 0;
    instance.UnlockGdiplus();
    return started;
}
