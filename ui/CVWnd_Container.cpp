#include "ui/CVWnd_Container.h"

#include <commctrl.h>

#include "appsvc/CVolAppInstance.h"
#include "ui/FrameworkWindowMessages.h"
#include "ui/PaintClientArea.h"
#include "ui/WindowClassRegistry.h"

namespace {

WindowClassDescription& ContainerClass() {
    static WindowClassDescription description = [] {
        WindowClassDescription d;
        d.style = CS_DBLCLKS;
        d.cursor = IDC_ARROW;
        d.procedure = &CVWnd_Base::WindowProcedure;
        return d;
    }();
    return description;
}

bool IsToolTipRelayed(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return true;
        default:
            return false;
    }
}

}  // namespace

CVWnd_Container::~CVWnd_Container() {
    if (toolTip_ != nullptr && IsWindow(toolTip_)) {
        DestroyWindow(toolTip_);
    }
}

WindowClassDescription& CVWnd_Container::GetWindowClass() const {
    return ContainerClass();
}

void CVWnd_Container::SetBackgroundColor(COLORREF color) {
    backgroundColor_ = color;
    if (GetHandle() != nullptr) {
        InvalidateRect(GetHandle(), nullptr, TRUE);
    }
}

void CVWnd_Container::SetCurrentPage(std::int32_t page) {
    currentPage_ = page;
    const HWND window = GetHandle();
    if (window != nullptr) {
        SendMessageW(GetAncestor(window, GA_ROOT), VM_SHOWPAGE, reinterpret_cast<WPARAM>(window),
                     FRAMEWORK_MAGIC);
    }
}

HWND CVWnd_Container::Create(const ControlCreateInfo& info) {
    return CreateWindowOfClass(info, info.parent, info.style, info.exStyle, info.x, info.y,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(info.id)));
}

HWND CVWnd_Container::CreateWindowOfClass(const ControlCreateInfo& info, HWND parent, DWORD style,
                                          DWORD exStyle, int x, int y, HMENU menuOrId) {
    const HINSTANCE instance = GetAppInstance().GetInstanceHandle();
    WindowClassDescription& windowClass = GetWindowClass();
    if (WindowClassRegistry::Register(windowClass, instance) == 0) {
        return nullptr;
    }
    const HWND window = CreateFrameworkWindow(windowClass, instance, exStyle, info.text, style, x, y,
                                              info.width, info.height, parent, menuOrId);
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, FRAMEWORK_MAGIC);
    }
    return window;
}

bool CVWnd_Container::SetToolTip(HWND child, const char16_t* text) {
    const HWND window = GetHandle();
    if (window == nullptr || child == nullptr) {
        return false;
    }
    if (toolTip_ == nullptr) {
        toolTip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   GetAppInstance().GetInstanceHandle(), nullptr);
        if (toolTip_ == nullptr) {
            return false;
        }
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (text == nullptr || *text == 0) {
        return true;
    }
    tool.lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    return SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

void CVWnd_Container::RelayToToolTip(const MSG* msg) {
    if (toolTip_ != nullptr && msg != nullptr && IsToolTipRelayed(msg->message) &&
        SendMessageW(toolTip_, TTM_GETTOOLCOUNT, 0, 0) > 0) {
        SendMessageW(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    }
}

LRESULT CVWnd_Container::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    IContainerEventListener* listener = GetContainerListener();
    switch (message) {
        case WM_CREATE:
            if (listener != nullptr) {
                listener->OnCreate();
            }
            break;
        case WM_DESTROY:
            if (listener != nullptr) {
                listener->OnDestroy();
            }
            if (toolTip_ != nullptr) {
                DestroyWindow(toolTip_);
                toolTip_ = nullptr;
            }
            break;
        case WM_MOVE:
            if (transparent_) {
                InvalidateParentArea();
            }
            if (listener != nullptr) {
                listener->OnMove();
            }
            break;
        case WM_SIZE:
            if (listener != nullptr) {
                listener->OnSize();
            }
            break;
        case WM_SHOWWINDOW:
            if (listener != nullptr) {
                listener->OnShow(wParam != 0);
            }
            break;
        case WM_SETFOCUS:
            FocusFirstChild();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_COMMAND:
            if (lParam == 0 && listener != nullptr && listener->OnCommand(LOWORD(wParam))) {
                return 0;
            }
            break;
        case VM_GETPAGE:
            if (lParam == FRAMEWORK_MAGIC && wParam != 0) {
                *reinterpret_cast<std::int32_t*>(wParam) = currentPage_;
                return FRAMEWORK_MAGIC;
            }
            break;
        case VM_PRETRANSLATE:
            if (lParam == FRAMEWORK_MAGIC) {
                RelayToToolTip(reinterpret_cast<const MSG*>(wParam));
                return 0;
            }
            break;
        default:
            break;
    }
    // A handler may have destroyed the window: there is nothing left to process.
    if (GetHandle() == nullptr) {
        return 0;
    }
    return CVWnd_Base::HandleOwnMessage(message, wParam, lParam);
}

void CVWnd_Container::Paint() {
    PaintClientArea(GetHandle(), [this](HDC dc, const RECT& area, const RECT& client) {
        if (!transparent_) {
            const HBRUSH brush = CreateSolidBrush(ResolveColor(backgroundColor_, COLOR_BTNFACE));
            FillRect(dc, &area, brush);
            DeleteObject(brush);
        }
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        picture_.Draw(dc, client);
    });
}

void CVWnd_Container::SetPicture(HBITMAP picture, int mode) {
    picture_.SetMode(mode);
    picture_.SetBitmap(picture);
    if (GetHandle() != nullptr) {
        InvalidateRect(GetHandle(), nullptr, TRUE);
    }
}

// A transparent container shows its parent through itself, so the parent must repaint under it.
void CVWnd_Container::InvalidateParentArea() {
    const HWND window = GetHandle();
    const HWND parent = GetParent(window);
    if (parent != nullptr) {
        RECT area{};
        GetWindowRect(window, &area);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        InvalidateRect(parent, &area, TRUE);
    }
    InvalidateRect(window, nullptr, TRUE);
}

// The first visible, enabled tab stop among the children takes the focus.
void CVWnd_Container::FocusFirstChild() {
    for (HWND child = GetWindow(GetHandle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0) {
            SetFocus(child);
            return;
        }
    }
}
