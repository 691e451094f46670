#pragma once

#include "appsvc/Win32Api.h"

#include "ui/CVWnd_Base.h"
#include "ui/ControlColors.h"
#include "ui/ControlCreateInfo.h"
#include "ui/IButtonEventListener.h"
#include "ui/SystemColor.h"

// The native window of push buttons and check boxes: a system BUTTON window subclassed by the
// framework. It raises the click from the BN_CLICKED its parent reflects back, answers the reflected
// WM_CTLCOLOR* with its own colours and brush, and registers itself with its form as the default button
// when it is made with BS_DEFPUSHBUTTON.
//
// The system draws push-button labels in COLOR_BTNTEXT whatever WM_CTLCOLORBTN says; the text colour
// shows on check boxes and radio buttons, whose labels are drawn with the colour answered here.
class CVWnd_Button : public CVWnd_Base {
public:
    // Construction
    CVWnd_Button();
    ~CVWnd_Button() override;

    // Attributes
    const char16_t* GetNativeClassName() const override { return u"CVWnd_Button"; }
    IButtonEventListener* GetButtonListener() const {
        return static_cast<IButtonEventListener*>(GetListener());
    }
    void SetListener(IButtonEventListener* listener) { SetListenerPointer(listener); }
    COLORREF GetTextColor() const { return colors_.GetText(); }
    // SYSTEM_COLOR: COLOR_BTNTEXT. Repaints when the window exists.
    void SetTextColor(COLORREF color);
    COLORREF GetBackgroundColor() const { return colors_.GetBackground(); }
    // SYSTEM_COLOR: COLOR_BTNFACE. Remakes the brush and repaints when the window exists.
    void SetBackgroundColor(COLORREF color);

    // Operations
    // Makes the BUTTON window the record describes and subclasses it; null on failure.
    HWND Create(const ControlCreateInfo& info);

protected:
    LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RegisterAsDefaultButton(int id) const;
    void Repaint() const;

    ControlColors colors_{0, SYSTEM_COLOR, COLOR_BTNTEXT};
};
