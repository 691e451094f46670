#pragma once

#include "appsvc/Win32Api.h"

#include "appsvc/CVolBaseApp.h"

// An application object with the three hooks of the main message loop.
class CVolWinApp : public CVolBaseApp {
public:
    // Construction
    CVolWinApp() = default;
    CVolWinApp(const CVolWinApp&) = default;
    CVolWinApp& operator=(const CVolWinApp&) = default;
    ~CVolWinApp() override = default;

    static const CVolClassInfo& ClassInfo();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Slot 19: 0 swallows the message (neither translated nor dispatched); the default lets it through.
    virtual int OnPreTranslateMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, MSG* msg);
    // Slot 20: idle work, called once per idle period with 0; the result is ignored.
    virtual int OnIdle(int reserved);
    // Slot 21: called once after the main message loop has ended (or when none ran).
    virtual void OnMessageLoopEnd();
};
