#pragma once

#include "appsvc/Win32Api.h"

#include "ui/CVWnd_Button.h"
#include "ui/CVolWinControl.h"
#include "ui/IButtonEventListener.h"

// What push buttons and check boxes share: a BUTTON window (CVWnd_Button), the Clicked event and the
// colours. Subclasses choose the button style and make the bridge.
class CVolWinButtonBase : public CVolWinControl, public IButtonEventListener {
public:
    CVolWinButtonBase(const CVolWinButtonBase& other);
    CVolWinButtonBase& operator=(const CVolWinButtonBase& other);
    ~CVolWinButtonBase() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CVWnd_Button* GetButtonWindow() const { return static_cast<CVWnd_Button*>(GetNativeObject()); }
    // Colours answered to the system when the button paints (SYSTEM_COLOR for the system's).
    COLORREF GetTextColor() const;
    void SetTextColor(COLORREF color);
    COLORREF GetBackgroundColor() const;
    void SetBackgroundColor(COLORREF color);

    // Raised when the button is clicked (BN_CLICKED); the handler's result is ignored.
    SimpleEventSlot& ClickedEvent() { return clicked_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;

    // Overridables of the control
    bool CreateControl(ControlCreateInfo& info) override;
    void AttachListener() override;
    void DetachListener() override;
    bool HasListener() const override;

    // IButtonEventListener
    bool OnMessage(MessageRecord& record) override;
    void OnClick() override;

protected:
    CVolWinButtonBase() = default;
    // A new bridge with its CVWnd_Button and the given creation style, ex style 0; the caller installs it.
    static CWtlWndObject* MakeBridge(DWORD style);

private:
    SimpleEventSlot clicked_;
};
