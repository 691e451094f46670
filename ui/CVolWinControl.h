#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include <shellapi.h>

#include "runtime/CMStringArray.h"
#include "runtime/CVolRefObject.h"
#include "runtime/CWString.h"
#include "ui/CVWnd_Base.h"
#include "ui/CWtlWndObject.h"
#include "ui/ControlCreateInfo.h"
#include "ui/EventSlot.h"
#include "ui/MessageRecord.h"

// Every visible element of the user interface. A control has three layers that live separately: this
// value object (embedded by value in its form, holding the event bindings), the reference-counted
// bridge (CWtlWndObject, which owns the native object and keeps properties until the window exists)
// and the native window object (CVWnd_*), which owns the Win32 window.
//
// Constructing a control makes no window; CreateControl makes it from a creation record. Every message
// of the window passes through HandleMessage, which raises the 17 common events.
class CVolWinControl : public CVolRefObject {
public:
    // Object-model flag bit 1: the object is being destroyed.
    static inline constexpr std::uint64_t kDestroyingFlag = 2;

    using MouseEventSlot = EventSlot<std::int32_t, std::int32_t, std::int32_t>;  // x, y, key flags
    using WheelEventSlot = EventSlot<std::int32_t, std::int32_t>;                // notches, key flags
    using KeyEventSlot = EventSlot<std::int32_t, std::int32_t>;                  // key code, modifiers
    using SimpleEventSlot = EventSlot<>;
    using CharEventSlot = EventSlot<std::int32_t>;  // character
    using MessageEventSlot = EventSlot<HWND, std::uint32_t, WPARAM, LPARAM, MessageRecord*>;
    using CreatedEventSlot = EventSlot<CVolWinControl*, std::int32_t>;  // owner, id
    using FilesDroppedEventSlot = EventSlot<const CMStringArray&>;      // paths in drop order

    // Construction
    CVolWinControl() = default;
    // Shares the bridge and copies the text value; bindings are not copied.
    CVolWinControl(const CVolWinControl& other);
    CVolWinControl& operator=(const CVolWinControl& other);
    ~CVolWinControl() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CWtlWndObject* GetBridge() const { return static_cast<CWtlWndObject*>(GetRef()); }
    CVWnd_Base* GetNativeObject() const;
    HWND GetWindow() const;  // null while no window exists
    const CWString& GetTextValue() const { return textValue_; }
    void SetTextValue(const char16_t* text) { textValue_.SetText(text); }

    // The window text: the pending text while no window exists, the window's text afterwards.
    CWString GetText() const;
    void SetText(const char16_t* text);
    // Makes a font from a description ("微软雅黑, 11, 0, 0, 0, 0, 0"), stores it in the bridge and,
    // when the window exists, sets it on the window. False when the font cannot be made.
    bool SetFontFromText(const char16_t* description);
    // Cursor shown over the window (not owned); null for the class default.
    void SetCursor(HCURSOR cursor);

    // Operations
    // Lets files be dropped on the window, also from processes of lower integrity.
    void AcceptDroppedFiles();
    // new style = (old & ~remove) | add; when it differs, stored and the frame refreshed. True when
    // the style changed.
    static bool SetStyleBits(HWND window, DWORD remove, DWORD add, UINT extraPositionFlags);

    // Binds a handler to one of this control's events against a target holder (null unbinds), then
    // attaches the control's listener to its native window.
    template <class... Args>
    void BindEvent(EventSlot<Args...>& slot, typename EventSlot<Args...>::Handler handler,
                   CVolEventObjectPointer* holder) {
        slot.Bind(handler, holder);
        AttachListener();
    }

    // The common events, index 0 to 16.
    MouseEventSlot& LeftDownEvent() { return leftDown_; }
    MouseEventSlot& LeftUpEvent() { return leftUp_; }
    MouseEventSlot& LeftDoubleClickEvent() { return leftDoubleClick_; }
    MouseEventSlot& RightDownEvent() { return rightDown_; }
    MouseEventSlot& RightUpEvent() { return rightUp_; }
    MouseEventSlot& MiddleDownEvent() { return middleDown_; }
    MouseEventSlot& MiddleUpEvent() { return middleUp_; }
    MouseEventSlot& MouseMoveEvent() { return mouseMove_; }
    WheelEventSlot& WheelEvent() { return wheel_; }
    KeyEventSlot& KeyDownEvent() { return keyDown_; }
    KeyEventSlot& KeyUpEvent() { return keyUp_; }
    SimpleEventSlot& GotFocusEvent() { return gotFocus_; }
    SimpleEventSlot& LostFocusEvent() { return lostFocus_; }
    CharEventSlot& CharEvent() { return char_; }
    MessageEventSlot& MessageEvent() { return message_; }
    CreatedEventSlot& CreatedEvent() { return created_; }
    FilesDroppedEventSlot& FilesDroppedEvent() { return filesDropped_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;
    bool IsEqual(const CVolObject& other) const override;
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;
    void PrepareReset() override;

    // Overridables, slots 18 to 25
    virtual bool CreateControl(ControlCreateInfo& info);
    virtual void PrepareCreateInfo(ControlCreateInfo& info);
    virtual void AdjustCreateInfo(ControlCreateInfo& info);
    virtual void OnCreated(HWND window, ControlCreateInfo& info);
    virtual bool HandleMessage(MessageRecord& record);
    virtual void AttachListener();
    virtual void DetachListener();
    virtual bool HasListener() const;

protected:
    // Takes over the caller's reference to a new bridge and releases the previous one.
    void InstallBridge(CWtlWndObject* bridge) { Attach(bridge); }
    void MarkDestroying() { SetFlags(GetFlags() | kDestroyingFlag); }

    // The creation sequence shared by every concrete control: refuse when a window exists, store the
    // layer, PrepareCreateInfo and AdjustCreateInfo, make the window with `makeWindow(native, info)`,
    // then OnCreated. False when no window was made.
    template <class MakeWindow>
    bool CreateWith(ControlCreateInfo& info, MakeWindow makeWindow) {
        CVWnd_Base* native = GetNativeObject();
        if (native == nullptr || native->GetHandle() != nullptr) {
            return false;
        }
        native->SetLayer(info.layer);
        PrepareCreateInfo(info);
        AdjustCreateInfo(info);
        const HWND window = makeWindow(*native, info);
        if (window == nullptr) {
            return false;
        }
        OnCreated(window, info);
        return true;
    }

private:
    bool RaiseMouseEvent(MouseEventSlot& event, const MessageRecord& record);
    bool RaiseKeyEvent(KeyEventSlot& event, const MessageRecord& record);
    void HandleDroppedFiles(HDROP drop);

    CWString textValue_;
    MouseEventSlot leftDown_;
    MouseEventSlot leftUp_;
    MouseEventSlot leftDoubleClick_;
    MouseEventSlot rightDown_;
    MouseEventSlot rightUp_;
    MouseEventSlot middleDown_;
    MouseEventSlot middleUp_;
    MouseEventSlot mouseMove_;
    WheelEventSlot wheel_;
    KeyEventSlot keyDown_;
    KeyEventSlot keyUp_;
    SimpleEventSlot gotFocus_;
    SimpleEventSlot lostFocus_;
    CharEventSlot char_;
    MessageEventSlot message_;
    CreatedEventSlot created_;
    FilesDroppedEventSlot filesDropped_;
};
