#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "runtime/CWString.h"
#include "ui/CVWnd_Base.h"
#include "ui/ControlColors.h"
#include "ui/ControlCreateInfo.h"
#include "ui/EditInputRules.h"
#include "ui/IEditEventListener.h"

class CEditSpin;

// The native window of an edit box: a system EDIT window subclassed by the framework. It filters typed
// characters and tidies the text on leaving by input type (EditInputRules.h), raises TextChanged for
// changes the program did not make itself, stands EN_SETFOCUS / EN_KILLFOCUS in for the focus messages,
// answers the reflected WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC with its colours and keeps an optional spin
// companion (CEditSpin) at its right edge.
//
// Multi-line, scroll bars and the spin are creation settings; the others also act on an existing window.
class CVWnd_Edit : public CVWnd_Base {
public:
    static inline constexpr int kScrollBarsNone = 0;
    static inline constexpr int kScrollBarsHorizontal = 1;
    static inline constexpr int kScrollBarsVertical = 2;
    static inline constexpr int kScrollBarsBoth = 3;
    // The spin companion's id is the edit's id plus this.
    static inline constexpr int kSpinIdOffset = 1000;

    // Construction
    CVWnd_Edit();
    ~CVWnd_Edit() override;

    // Attributes
    const char16_t* GetNativeClassName() const override { return u"CVWnd_Edit"; }
    IEditEventListener* GetEditListener() const { return static_cast<IEditEventListener*>(GetListener()); }
    void SetListener(IEditEventListener* listener) { SetListenerPointer(listener); }
    // True while the window offers its listener the focus record of EN_SETFOCUS or EN_KILLFOCUS; the
    // window's own WM_SETFOCUS and WM_KILLFOCUS are not for the listener.
    bool IsOfferingFocusRecord() const { return offeringFocusRecord_; }

    COLORREF GetTextColor() const { return colors_.GetText(); }
    void SetTextColor(COLORREF color);  // SYSTEM_COLOR: COLOR_WINDOWTEXT
    COLORREF GetBackgroundColor() const { return colors_.GetBackground(); }
    void SetBackgroundColor(COLORREF color);  // SYSTEM_COLOR: COLOR_BTNFACE
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int length);  // 0: the system's limit
    bool IsMultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine) { multiLine_ = multiLine; }
    int GetScrollBars() const { return scrollBars_; }
    void SetScrollBars(int scrollBars) { scrollBars_ = scrollBars; }  // multi-line boxes only
    int GetInputType() const { return inputType_; }
    void SetInputType(int inputType);
    char16_t GetPasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char16_t character);
    // A single-line box with a non-zero step gets a spin companion that moves its integer value by the
    // step within the range.
    std::int32_t GetSpinStep() const { return spinStep_; }
    void SetSpinStep(std::int32_t step) { spinStep_ = step; }
    std::int32_t GetSpinMinimum() const { return spinMinimum_; }
    std::int32_t GetSpinMaximum() const { return spinMaximum_; }
    void SetSpinRange(std::int32_t minimum, std::int32_t maximum);
    // The spin companion's window, or null.
    HWND GetSpinWindow() const;

    // Operations
    // The creation style for this box's settings: multi-line and scroll-bar bits, read-only, password.
    std::uint32_t CompleteStyle(std::uint32_t style) const;
    // Makes the EDIT window the record describes, subclasses it and makes the spin companion; null on
    // failure.
    HWND Create(const ControlCreateInfo& info);
    // One spin step up (direction > 0) or down: the value moves by the step, stays within the range,
    // replaces the text as typing would and is reported to the listener's second event.
    void StepBySpin(int direction);

protected:
    LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnReflectedCommand(WORD code);
    void OfferFocusRecord(UINT message);
    void NormaliseText();
    CWString ReadText() const;
    void CreateSpin(const ControlCreateInfo& info);
    void PlaceSpin();
    void DestroySpin();
    void Repaint() const;

    ControlColors colors_{RGB(0, 0, 0), RGB(255, 255, 255), COLOR_WINDOWTEXT};
    int maxLength_ = 0;
    bool multiLine_ = false;
    int scrollBars_ = kScrollBarsNone;
    int inputType_ = EDIT_INPUT_TEXT;
    char16_t passwordChar_ = u'*';
    std::int32_t spinStep_ = 0;
    std::int32_t spinMinimum_ = 0;
    std::int32_t spinMaximum_ = 100;
    CEditSpin* spin_ = nullptr;  // owned; deleted once none of its messages is running
    int settingText_ = 0;        // WM_SETTEXT nesting: the program is setting the text
    bool offeringFocusRecord_ = false;
};
