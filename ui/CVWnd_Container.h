#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "ui/BackgroundPicture.h"
#include "ui/CVWnd_Base.h"
#include "ui/ControlCreateInfo.h"
#include "ui/IContainerEventListener.h"
#include "ui/SystemColor.h"

struct WindowClassDescription;

// The native window of a panel: a window of the framework's own container class that paints its
// background, hands focus on to its first tab stop, raises the container notifications and reflects
// its children's notifications back to them. Its windows carry FRAMEWORK_MAGIC as user data, so that
// the message loop lets them pre-translate keyboard and mouse messages.
class CVWnd_Container : public CVWnd_Base {
public:
    // Construction
    CVWnd_Container() = default;
    ~CVWnd_Container() override;

    // Attributes
    const char16_t* GetNativeClassName() const override { return u"CVWnd_Container"; }
    IContainerEventListener* GetContainerListener() const {
        return static_cast<IContainerEventListener*>(GetListener());
    }
    void SetListener(IContainerEventListener* listener) { SetListenerPointer(listener); }
    COLORREF GetBackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(COLORREF color);  // SYSTEM_COLOR: the button face
    // The background picture drawn over the background colour (BackgroundPicture's modes). The
    // container takes ownership of `picture` (null removes it) and deletes the one it had.
    HBITMAP GetPicture() const { return picture_.GetBitmap(); }
    int GetPictureMode() const { return picture_.GetMode(); }
    void SetPicture(HBITMAP picture, int mode);
    bool IsTransparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // The page shown by the container; children whose layer is another page (not -1) are hidden.
    std::int32_t GetCurrentPage() const { return currentPage_; }
    // Stores the page and asks the top-level form to show it.
    void SetCurrentPage(std::int32_t page);

    // Operations
    // Creates the container window as the record describes; null on failure.
    HWND Create(const ControlCreateInfo& info);
    // Shows `text` as the tooltip of a child window (a null or empty text removes it).
    bool SetToolTip(HWND child, const char16_t* text);

protected:
    // The window class of containers; forms register their own.
    virtual WindowClassDescription& GetWindowClass() const;
    HWND CreateWindowOfClass(const ControlCreateInfo& info, HWND parent, DWORD style, DWORD exStyle, int x,
                             int y, HMENU menuOrId);

    LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Relays mouse messages to the tooltip; never takes the message.
    void RelayToToolTip(const MSG* msg);

private:
    void Paint();
    void InvalidateParentArea();
    void FocusFirstChild();

    COLORREF backgroundColor_ = SYSTEM_COLOR;
    BackgroundPicture picture_;
    bool transparent_ = false;
    std::int32_t currentPage_ = 0;
    HWND toolTip_ = nullptr;  // owned; destroyed with the container's window
};
