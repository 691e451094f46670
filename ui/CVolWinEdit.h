#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "ui/CVWnd_Edit.h"
#include "ui/CVolWinControl.h"
#include "ui/IEditEventListener.h"

// An edit box (CVWnd_Edit). Its settings may be made before or after the window exists; multi-line,
// scroll bars and the spin count only when the window is made. GotFocus and LostFocus follow the box's
// EN_SETFOCUS and EN_KILLFOCUS, so LostFocus sees the text already tidied for the input type.
class CVolWinEdit : public CVolWinControl, public IEditEventListener {
public:
    using SpinChangedEventSlot = EventSlot<std::int32_t>;  // the new value

    // WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, with WS_EX_CLIENTEDGE.
    static inline constexpr DWORD kDefaultStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
    static inline constexpr DWORD kDefaultExStyle = WS_EX_CLIENTEDGE;

    // Construction: the bridge and native object, no window.
    CVolWinEdit();
    CVolWinEdit(const CVolWinEdit& other);
    CVolWinEdit& operator=(const CVolWinEdit& other);
    ~CVolWinEdit() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CVWnd_Edit* GetEditWindow() const { return static_cast<CVWnd_Edit*>(GetNativeObject()); }
    int GetInputType() const;
    void SetInputType(int inputType);  // EDIT_INPUT_* of EditInputRules.h
    void SetMultiLine(bool multiLine);
    void SetScrollBars(int scrollBars);  // CVWnd_Edit::kScrollBars*
    void SetPasswordChar(char16_t character);
    void SetMaxLength(int length);
    // A spin companion stepping the value by `step` within minimum..maximum (step 0: none).
    void SetSpin(std::int32_t step, std::int32_t minimum, std::int32_t maximum);
    void SetTextColor(COLORREF color);
    void SetBackgroundColor(COLORREF color);

    // The first edit event: the text changed, other than by the program setting it.
    SimpleEventSlot& TextChangedEvent() { return textChanged_; }
    // The second edit event: the spin companion stepped the value to the argument.
    SpinChangedEventSlot& SpinChangedEvent() { return spinChanged_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;

    // Overridables of the control
    bool CreateControl(ControlCreateInfo& info) override;
    void AttachListener() override;
    void DetachListener() override;
    bool HasListener() const override;

    // IEditEventListener
    bool OnMessage(MessageRecord& record) override;
    void OnFirstEvent() override;
    void OnSecondEvent(std::int32_t value) override;

private:
    SimpleEventSlot textChanged_;
    SpinChangedEventSlot spinChanged_;
};
