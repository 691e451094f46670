#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "ui/CVWnd_Label.h"
#include "ui/CVolWinControl.h"
#include "ui/ILabelEventListener.h"

// A label: text (and optionally a picture) in a window the framework paints itself (CVWnd_Label). The
// display settings may be made before or after the window exists; afterwards the label repaints.
class CVolWinLabel : public CVolWinControl, public ILabelEventListener {
public:
    using LabelEventSlot = EventSlot<std::int64_t, std::int64_t>;  // wParam and lParam of VM_LABELEVENT

    // WS_VISIBLE | WS_CLIPSIBLINGS; a label never takes WS_TABSTOP.
    static inline constexpr DWORD kDefaultStyle = WS_VISIBLE | WS_CLIPSIBLINGS;

    // Construction: the bridge and native object, no window.
    CVolWinLabel();
    CVolWinLabel(const CVolWinLabel& other);
    CVolWinLabel& operator=(const CVolWinLabel& other);
    ~CVolWinLabel() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CVWnd_Label* GetLabelWindow() const { return static_cast<CVWnd_Label*>(GetNativeObject()); }
    COLORREF GetTextColor() const;
    void SetTextColor(COLORREF color);  // SYSTEM_COLOR: the window text colour
    void SetBackgroundColor(COLORREF color);
    void SetHorizontalAlignment(int alignment);  // CVWnd_Label::kAlignLeft, kAlignCenter, kAlignRight
    void SetVerticalAlignment(int alignment);    // kAlignTop, kAlignCenter, kAlignBottom; single line only
    void SetWordWrap(bool wordWrap);
    void SetTransparent(bool transparent);
    // The label owns `picture` from now on.
    void SetPicture(HBITMAP picture, int mode);

    // Raised by VM_LABELEVENT; the handler's result answers the message.
    LabelEventSlot& LabelEvent() { return labelEvent_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;

    // Overridables of the control
    bool CreateControl(ControlCreateInfo& info) override;
    void AttachListener() override;
    void DetachListener() override;
    bool HasListener() const override;

    // ILabelEventListener
    bool OnMessage(MessageRecord& record) override;
    std::int32_t OnLabelEvent(std::int64_t first, std::int64_t second) override;

private:
    LabelEventSlot labelEvent_;
};
