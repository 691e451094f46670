#pragma once

#include "appsvc/Win32Api.h"

#include "runtime/CRefObject.h"
#include "runtime/CVolMem.h"
#include "runtime/CWString.h"

class CVWnd_Base;

// The bridge between a control object and its native window: a reference-counted holder that exists
// before the window does and keeps what is set on the control until then (text, style bits, cursor,
// font). Copies of a control share one bridge and so one window.
//
// The bridge owns the font; DeleteObject happens when the font is replaced or the last reference goes.
// The last Release destroys the window if it still exists, then deletes the native object.
class CWtlWndObject : public CRefObject {
public:
    static const CVolClassInfo& ClassInfo();

    // Attributes
    const CWString& GetPendingText() const { return pendingText_; }
    void SetPendingText(const char16_t* text) { pendingText_.SetText(text); }
    CVolMem& GetBuffer() { return buffer_; }
    DWORD GetStyle() const { return style_; }
    void SetStyle(DWORD style) { style_ = style; }
    DWORD GetExStyle() const { return exStyle_; }
    void SetExStyle(DWORD exStyle) { exStyle_ = exStyle; }
    HCURSOR GetCursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }  // not owned: a shared system or resource cursor
    HFONT GetFont() const { return font_; }
    // Stores a new font and hands the previous one back; the caller deletes it once no window uses it.
    HFONT ExchangeFont(HFONT font);
    // The native window, or null.
    HWND GetWindow() const { return windowHandle_ != nullptr ? *windowHandle_ : nullptr; }

    // Overridables, after the reference-counting slots
    const CVolClassInfo& GetClassInfo() const override;
    virtual void DestroyWindow();                     // slot 10: the handle is null afterwards either way
    virtual CVWnd_Base* GetNativeObject() const = 0;  // slot 11

protected:
    explicit CWtlWndObject(HWND* windowHandle) : windowHandle_(windowHandle) {}
    ~CWtlWndObject() override;
    void OnFinalRelease() override;

private:
    CWString pendingText_;
    CVolMem buffer_;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    HCURSOR cursor_ = nullptr;
    HFONT font_ = nullptr;
    HWND* windowHandle_;  // the handle field of the native object
};
