#include "ui/CVWnd_Label.h"

#include "appsvc/CVolAppInstance.h"
#include "runtime/CVolMem.h"
#include "ui/FrameworkWindowMessages.h"
#include "ui/PaintClientArea.h"
#include "ui/WindowClassRegistry.h"

namespace {

// The style of a label made from a record without style bits.
inline constexpr DWORD kFallbackStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

UINT HorizontalFormat(int alignment) {
    switch (alignment) {
        case CVWnd_Label::kAlignCenter:
            return DT_CENTER;
        case CVWnd_Label::kAlignRight:
            return DT_RIGHT;
        default:
            return DT_LEFT;
    }
}

UINT VerticalFormat(int alignment) {
    switch (alignment) {
        case CVWnd_Label::kAlignTop:
            return DT_TOP;
        case CVWnd_Label::kAlignBottom:
            return DT_BOTTOM;
        default:
            return DT_VCENTER;
    }
}

}  // namespace

CVWnd_Label::~CVWnd_Label() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

// Every size change repaints the whole label: its text is placed relative to all four sides.
WindowClassDescription& CVWnd_Label::WindowClass() {
    static WindowClassDescription description = [] {
        WindowClassDescription d;
        d.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        d.cursor = IDC_ARROW;
        d.procedure = &CVWnd_Base::WindowProcedure;
        return d;
    }();
    return description;
}

void CVWnd_Label::SetTextColor(COLORREF color) {
    textColor_ = color;
    if (GetHandle() == nullptr) {
        return;
    }
    if (transparent_) {
        InvalidateParentArea();
    }
    Repaint(FALSE);
}

void CVWnd_Label::SetBackgroundColor(COLORREF color) {
    backgroundColor_ = color;
    Repaint(TRUE);
}

void CVWnd_Label::SetHorizontalAlignment(int alignment) {
    horizontalAlignment_ = alignment;
    Repaint(TRUE);
}

void CVWnd_Label::SetVerticalAlignment(int alignment) {
    verticalAlignment_ = alignment;
    Repaint(TRUE);
}

void CVWnd_Label::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    Repaint(TRUE);
}

void CVWnd_Label::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Repaint(TRUE);
}

void CVWnd_Label::SetPictureMode(int mode) {
    picture_.SetMode(mode);
    Repaint(TRUE);
}

void CVWnd_Label::SetPicture(HBITMAP picture) {
    if (picture_.SetBitmap(picture)) {
        Repaint(TRUE);
    }
}

HWND CVWnd_Label::Create(const ControlCreateInfo& info) {
    const HINSTANCE instance = GetAppInstance().GetInstanceHandle();
    WindowClassDescription& windowClass = WindowClass();
    if (WindowClassRegistry::Register(windowClass, instance) == 0) {
        return nullptr;
    }
    const DWORD style = info.style != 0 ? info.style : kFallbackStyle;
    return CreateFrameworkWindow(windowClass, instance, info.exStyle, info.text, style, info.x, info.y,
                                 info.width, info.height, info.parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(info.id)));
}

LRESULT CVWnd_Label::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(GetHandle(), &client);
            PaintInto(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_SETFONT:
            CopyFont(reinterpret_cast<HFONT>(wParam));
            if (LOWORD(lParam) != 0) {
                Repaint(TRUE);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_MOVE:
            if (transparent_) {
                InvalidateParentArea();
                Repaint(TRUE);
            }
            break;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case VM_LABELEVENT:
            if (ILabelEventListener* listener = GetLabelListener()) {
                return listener->OnLabelEvent(static_cast<std::int64_t>(wParam),
                                              static_cast<std::int64_t>(lParam));
            }
            return 0;
        default:
            break;
    }
    return CVWnd_Base::HandleOwnMessage(message, wParam, lParam);
}

void CVWnd_Label::OnPaint() {
    PaintClientArea(GetHandle(), [this](HDC dc, const RECT& area, const RECT&) { PaintInto(dc, area); });
}

// Background (unless transparent), picture, then text, all within `area` of the client rectangle.
void CVWnd_Label::PaintInto(HDC dc, const RECT& area) const {
    if (IsRectEmpty(&area)) {
        return;
    }
    RECT client{};
    GetClientRect(GetHandle(), &client);
    if (!transparent_) {
        const HBRUSH brush = CreateSolidBrush(ResolveColor(backgroundColor_, COLOR_BTNFACE));
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    picture_.Draw(dc, client);
    DrawLabelText(dc, client);
    RestoreDC(dc, saved);
}

void CVWnd_Label::DrawLabelText(HDC dc, RECT client) const {
    const HWND window = GetHandle();
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return;
    }
    CVolMem buffer;
    auto* text = static_cast<wchar_t*>(buffer.SetSize((static_cast<std::int64_t>(length) + 1) * 2));
    if (GetWindowTextW(window, text, length + 1) <= 0) {
        return;
    }
    const HGDIOBJ font = font_ != nullptr ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT);
    const HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ResolveColor(textColor_, COLOR_WINDOWTEXT));
    DrawTextW(dc, text, -1, &client, TextFormat());
    SelectObject(dc, previousFont);
}

UINT CVWnd_Label::TextFormat() const {
    const UINT lines =
        wordWrap_ ? (DT_WORDBREAK | DT_VCENTER) : (DT_SINGLELINE | VerticalFormat(verticalAlignment_));
    return DT_NOPREFIX | HorizontalFormat(horizontalAlignment_) | lines;
}

// The caller keeps its font; the label paints with a copy of its own.
void CVWnd_Label::CopyFont(HFONT font) {
    HFONT copy = nullptr;
    LOGFONTW description{};
    if (font != nullptr && GetObjectW(font, sizeof(description), &description) == sizeof(description)) {
        copy = CreateFontIndirectW(&description);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = copy;
}

// A transparent label shows its parent through itself, so the parent must repaint under it.
void CVWnd_Label::InvalidateParentArea() const {
    const HWND window = GetHandle();
    const HWND parent = GetParent(window);
    if (parent == nullptr) {
        return;
    }
    RECT area{};
    GetWindowRect(window, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(parent, &area, TRUE);
}

void CVWnd_Label::Repaint(BOOL erase) const {
    if (GetHandle() != nullptr) {
        InvalidateRect(GetHandle(), nullptr, erase);
    }
}
