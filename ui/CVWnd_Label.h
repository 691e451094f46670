#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "ui/BackgroundPicture.h"
#include "ui/CVWnd_Base.h"
#include "ui/ControlCreateInfo.h"
#include "ui/ILabelEventListener.h"
#include "ui/SystemColor.h"

struct WindowClassDescription;

// The native window of a label: a window of the framework's own label class that paints its
// background, an optional picture and its text itself. It keeps its own copy of the font it is given,
// is never a tab stop and answers VM_LABELEVENT with the label event's result.
class CVWnd_Label : public CVWnd_Base {
public:
    static inline constexpr int kAlignLeft = 0;    // horizontal
    static inline constexpr int kAlignCenter = 1;  // horizontal and vertical
    static inline constexpr int kAlignRight = 2;   // horizontal
    static inline constexpr int kAlignTop = 0;     // vertical
    static inline constexpr int kAlignBottom = 2;  // vertical
    // Picture modes: at the top left corner, stretched over the label, tiled, centred.
    static inline constexpr int kPictureTopLeft = BackgroundPicture::kTopLeft;
    static inline constexpr int kPictureStretched = BackgroundPicture::kStretched;
    static inline constexpr int kPictureTiled = BackgroundPicture::kTiled;
    static inline constexpr int kPictureCentred = BackgroundPicture::kCentred;

    // Construction
    CVWnd_Label() = default;
    // Deletes the font copy and the picture.
    ~CVWnd_Label() override;

    // Attributes
    const char16_t* GetNativeClassName() const override { return u"CVWnd_Label"; }
    ILabelEventListener* GetLabelListener() const { return static_cast<ILabelEventListener*>(GetListener()); }
    void SetListener(ILabelEventListener* listener) { SetListenerPointer(listener); }
    // The display settings take effect at once when the window exists.
    COLORREF GetTextColor() const { return textColor_; }
    // SYSTEM_COLOR: COLOR_WINDOWTEXT. A transparent label has its parent repaint under it first.
    void SetTextColor(COLORREF color);
    COLORREF GetBackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(COLORREF color);  // SYSTEM_COLOR: COLOR_BTNFACE
    int GetHorizontalAlignment() const { return horizontalAlignment_; }
    void SetHorizontalAlignment(int alignment);
    // Used only without word wrap.
    int GetVerticalAlignment() const { return verticalAlignment_; }
    void SetVerticalAlignment(int alignment);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // A transparent label paints no background; WS_EX_TRANSPARENT is set when the window is made.
    bool IsTransparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    int GetPictureMode() const { return picture_.GetMode(); }
    void SetPictureMode(int mode);
    HBITMAP GetPicture() const { return picture_.GetBitmap(); }
    // The label takes ownership of `picture` (null removes it) and deletes the one it had.
    void SetPicture(HBITMAP picture);
    // The label's own font, or null while it paints with DEFAULT_GUI_FONT.
    HFONT GetFont() const { return font_; }

    // Operations
    // Makes the label window the record describes; null on failure.
    HWND Create(const ControlCreateInfo& info);

protected:
    LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static WindowClassDescription& WindowClass();
    void OnPaint();
    void PaintInto(HDC dc, const RECT& area) const;
    void DrawLabelText(HDC dc, RECT client) const;
    UINT TextFormat() const;
    void CopyFont(HFONT font);
    void InvalidateParentArea() const;
    void Repaint(BOOL erase) const;

    COLORREF textColor_ = SYSTEM_COLOR;
    COLORREF backgroundColor_ = SYSTEM_COLOR;
    int horizontalAlignment_ = kAlignLeft;
    int verticalAlignment_ = kAlignCenter;
    bool wordWrap_ = false;
    bool transparent_ = false;
    HFONT font_ = nullptr;  // owned copy of the font last set with WM_SETFONT
    BackgroundPicture picture_;
};
