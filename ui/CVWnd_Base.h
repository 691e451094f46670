#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "appsvc/CVolWindowProcFilters.h"
#include "ui/ControlCreateInfo.h"
#include "ui/IBaseEventListener.h"

struct WindowClassDescription;

// The common part of every native window object (CVWnd_Button, CVWnd_Edit, CVWnd_Label,
// CVWnd_Container, CVWnd_WinForm): the window handle, the previous window procedure, the listener,
// the layer and the window-procedure filter chain, and the steps every framework window procedure
// takes before the class's own handling:
//
//   1. WM_DESTROY of the module's main window posts the quit message (exit code 0);
//   2. the private messages VM_SETLAYER, VM_GETLAYER, VM_QUERYOBJECT, VM_ADDFILTER, VM_REMOVEFILTER;
//   3. the filter chain;
//   4. the listener's OnMessage (the control's HandleMessage); when it consumes the message, or the
//      window is gone or replaced afterwards, the message is finished;
//   5. HandleOwnMessage, whose default reflects child notifications and then runs the previous
//      window procedure.
//
// A window is attached either by subclassing a window of a system class (SubclassWindow) or by
// creating a window of a class registered by the framework (CreateFrameworkWindow). The object
// outlives its window; after WM_NCDESTROY it has no handle.
class CVWnd_Base {
public:
    // Construction
    CVWnd_Base() = default;
    CVWnd_Base(const CVWnd_Base&) = delete;
    CVWnd_Base& operator=(const CVWnd_Base&) = delete;
    virtual ~CVWnd_Base();

    // Deletes a native object now, or, while one of its messages is being processed further up the
    // stack (a handler that released the control's last reference), when that message is finished.
    static void DeleteWhenIdle(CVWnd_Base* object);

    // The native object of a framework window, or null.
    static CVWnd_Base* FromHandle(HWND window);

    // Attributes
    HWND GetHandle() const { return window_; }
    HWND* GetHandleField() { return &window_; }
    std::int32_t GetLayer() const { return layer_; }
    void SetLayer(std::int32_t layer) { layer_ = layer; }
    IBaseEventListener* GetListener() const { return listener_; }
    CVolWindowProcFilters& GetFilters() { return filters_; }
    // The class name answered to VM_QUERYOBJECT, e.g. u"CVWnd_Button".
    virtual const char16_t* GetNativeClassName() const = 0;

    // Operations
    // Takes over a window of a system class: the framework's procedure replaces the window's, which
    // stays the default processing. False when the object already has a window.
    bool SubclassWindow(HWND window);
    // Makes the window of a system class (u"BUTTON", u"EDIT") that the creation record describes, with the
    // record's id, and subclasses it; null when either step fails.
    HWND CreateSubclassedWindow(const char16_t* systemClass, const ControlCreateInfo& info);
    // Creates a window of a registered framework class; null on failure.
    HWND CreateFrameworkWindow(const WindowClassDescription& windowClass, HINSTANCE instance, DWORD exStyle,
                               const char16_t* text, DWORD style, int x, int y, int width, int height,
                               HWND parent, HMENU menuOrId);
    // The previous window procedure with this message (default processing).
    LRESULT CallDefaultProcedure(UINT message, WPARAM wParam, LPARAM lParam);

    // The window procedure of every framework window.
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Subclasses store their own listener interface here and read it back with the matching type.
    void SetListenerPointer(IBaseEventListener* listener) { listener_ = listener; }

    // Overridables
    // The class's own handling after the common steps. Default: reflection, then default processing.
    virtual LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool RunCommonSteps(UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result);
    bool HandlePrivateMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);
    void Detach(HWND window);

    HWND window_ = nullptr;
    WNDPROC previousProcedure_ = DefWindowProcW;
    IBaseEventListener* listener_ = nullptr;
    std::int32_t layer_ = -1;
    CVolWindowProcFilters filters_;
    bool subclassed_ = false;
    int dispatchDepth_ = 0;
    bool deletePending_ = false;
};
