#pragma once

#include "ui/CVolWinButtonBase.h"

// A push button. Its window is made with BS_MULTILINE, so a long text wraps inside the button; a bridge
// style with BS_DEFPUSHBUTTON makes it its form's default button.
class CVolWinButton : public CVolWinButtonBase {
public:
    // WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON.
    static inline constexpr DWORD kDefaultStyle =
        WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON;

    // Construction: the bridge and native object, no window.
    CVolWinButton();
    CVolWinButton(const CVolWinButton& other) = default;
    CVolWinButton& operator=(const CVolWinButton& other);
    ~CVolWinButton() override = default;

    static const CVolClassInfo& ClassInfo();

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;
};
