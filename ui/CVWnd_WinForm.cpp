#include "ui/CVWnd_WinForm.h"

#include <vector>

#include <shellapi.h>

#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolWtlAppModule.h"
#include "appsvc/DisplayMetrics.h"
#include "appsvc/RunModalLoop.h"
#include "ui/CRefVolMenu.h"
#include "ui/FrameworkWindowMessages.h"
#include "ui/WindowClassRegistry.h"

namespace {

inline constexpr DWORD kModalDialogFrameStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
static_assert(kModalDialogFrameStyle == 0x92C80000);
inline constexpr DWORD kModalAddedStyleBits = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
static_assert(kModalAddedStyleBits == 0x92000000);
// A modal form without the dialog frame keeps its own frame bits but is always a visible popup.
inline constexpr DWORD kModalKeptStyleBits = ~(kModalAddedStyleBits | WS_CHILD);
static_assert(kModalKeptStyleBits == 0x2DFFFFFF);
inline constexpr UINT kMenuSelectIgnoredFlags = MF_POPUP | MF_SYSMENU;
inline constexpr int kRoundCornerSize = 16;

WindowClassDescription& FormClass() {
    static WindowClassDescription description = [] {
        WindowClassDescription d;
        d.style = CS_DBLCLKS;
        d.cursor = IDC_ARROW;
        d.procedure = &CVWnd_Base::WindowProcedure;
        return d;
    }();
    return description;
}

// The title of an untitled form with a caption: the program's file name without its extension.
CWString ApplicationName() {
    CWString name;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return name;
    }
    const wchar_t* start = path;
    const wchar_t* dot = nullptr;
    for (const wchar_t* p = path; *p != 0; ++p) {
        if (*p == L'\\' || *p == L'/') {
            start = p + 1;
            dot = nullptr;
        } else if (*p == L'.') {
            dot = p;
        }
    }
    const wchar_t* end = dot != nullptr ? dot : path + length;
    name.SetUnits(reinterpret_cast<const char16_t*>(start), end - start);
    return name;
}

// The owner of a modal form: the parent or the main window, lifted to its top-level window and then
// to its last active popup; else the active window; else the desktop.
HWND ModalOwner(HWND parent) {
    HWND owner = parent != nullptr ? parent : GetAppModule().GetMainWindow();
    while (owner != nullptr && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD) != 0) {
        owner = GetParent(owner);
    }
    if (owner != nullptr) {
        return GetLastActivePopup(owner);
    }
    owner = GetActiveWindow();
    return owner != nullptr ? owner : GetDesktopWindow();
}

struct DisableContext {
    HWND form;
    DWORD process;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableProcessWindow(HWND window, LPARAM context) {
    auto& state = *reinterpret_cast<DisableContext*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == state.process && window != state.form && window != GetDesktopWindow() &&
        IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        state.disabled.push_back(window);
    }
    return TRUE;
}

// Depth first, each child tested before its own children, in GW_CHILD / GW_HWNDNEXT order.
HWND FindDescendantWithId(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) {
            return child;
        }
        if (const HWND found = FindDescendantWithId(child, id)) {
            return found;
        }
    }
    return nullptr;
}

bool IsEnterKey(WPARAM key) {
    return key == VK_RETURN || key == VK_EXECUTE;
}

bool IsEscapeKey(WPARAM key) {
    return key == VK_ESCAPE || key == VK_CANCEL;
}

bool IsPushButton(HWND window) {
    return (SendMessageW(window, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The notification a click sends: BN_CLICKED to the button's parent, which reflects it to the button.
void PressButton(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

HICON LoadModuleIcon(int sizeMetricX, int sizeMetricY) {
    return static_cast<HICON>(
        LoadImageW(GetAppInstance().GetInstanceHandle(), MAKEINTRESOURCEW(CVWnd_WinForm::kIconResourceId),
                   IMAGE_ICON, GetSystemMetrics(sizeMetricX), GetSystemMetrics(sizeMetricY), LR_SHARED));
}

}  // namespace

CVWnd_WinForm::~CVWnd_WinForm() {
    RemoveTrayIcon();
    ReleaseObject(menu_);
}

WindowClassDescription& CVWnd_WinForm::GetWindowClass() const {
    return FormClass();
}

void CVWnd_WinForm::SetMenu(CRefVolMenu* menu) {
    if (menu == menu_) {
        return;
    }
    if (menu != nullptr) {
        menu->AddRef();
    }
    CRefVolMenu* previous = menu_;
    menu_ = menu;
    const HWND window = GetHandle();
    if (window != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) {
        ::SetMenu(window, menu_ != nullptr ? menu_->GetMenuHandle() : nullptr);
    }
    ReleaseObject(previous);
}

void CVWnd_WinForm::CompleteCreateInfo(ControlCreateInfo& info) {
    if ((info.text == nullptr || *info.text == 0) && caption_) {
        defaultTitle_ = ApplicationName();
        info.text = defaultTitle_.GetText();
    }
    const bool hasTitle = info.text != nullptr && *info.text != 0;
    std::uint32_t style = info.style | WS_CLIPCHILDREN;
    std::uint32_t exStyle = info.exStyle;
    if (borderKind_ != kBorderNone) {
        if (hasTitle || caption_) {
            style |= WS_CAPTION;
        }
        style |= WS_DLGFRAME;
        if (caption_) {
            style |= WS_SYSMENU | WS_BORDER;
        }
    }
    switch (borderKind_) {
        case kBorderSizable:
            style |= WS_THICKFRAME;
            break;
        case kBorderSizableTool:
            style |= WS_THICKFRAME;
            exStyle |= WS_EX_TOOLWINDOW;
            break;
        case kBorderFixedTool:
            exStyle |= WS_EX_TOOLWINDOW;
            break;
        case kBorderSizableClientEdge:
            style |= WS_THICKFRAME;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case kBorderFixedClientEdge:
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        default:
            break;
    }
    if (maximizeBox_) {
        style |= WS_MAXIMIZEBOX;
    }
    if (minimizeBox_) {
        style |= WS_MINIMIZEBOX;
    }
    if (startMode_ == kStartMinimised) {
        style |= WS_MINIMIZE;
    } else if (startMode_ == kStartMaximised) {
        style |= WS_MAXIMIZE;
    }
    info.style = style;
    info.exStyle = exStyle;
}

HWND CVWnd_WinForm::Create(ControlCreateInfo& info) {
    HWND parent = info.parent;
    std::uint32_t style = info.style;
    std::uint32_t exStyle = info.exStyle;
    modalOwner_ = nullptr;
    focusBeforeModal_ = nullptr;
    if (info.modal != 0) {
        // Remembered before the form takes the focus, so that it can be given back afterwards.
        focusBeforeModal_ = GetFocus();
        modalOwner_ = ModalOwner(info.parent);
        parent = modalOwner_;
        if (info.dialogFrame != 0) {
            style = kModalDialogFrameStyle;
            // Keyboard navigation into nested panels needs the control-parent bit kept.
            exStyle = WS_EX_DLGMODALFRAME | (exStyle & WS_EX_CONTROLPARENT);
        } else {
            if ((style & WS_THICKFRAME) == 0) {
                exStyle |= WS_EX_DLGMODALFRAME;
            }
            style = (style & kModalKeptStyleBits) | kModalAddedStyleBits;
        }
    }

    int x = info.x;
    int y = info.y;
    const bool topLevel = (style & WS_CHILD) == 0;
    if (topLevel) {
        const RECT monitor = GetMonitorRect(parent != nullptr ? parent : GetAppModule().GetMainWindow());
        if (startMode_ == kStartCentred) {
            x = (monitor.left + monitor.right - info.width) / 2;
            y = (monitor.top + monitor.bottom - info.height) / 2;
        } else {
            x += monitor.left;
            y += monitor.top;
        }
        // The record's menu is the one the size was computed for.
        SetMenu(info.menu);
    }
    const HMENU menuOrId = topLevel ? (menu_ != nullptr ? menu_->GetMenuHandle() : nullptr)
                                    : reinterpret_cast<HMENU>(static_cast<INT_PTR>(info.id));
    const HWND window = CreateWindowOfClass(info, parent, style, exStyle, x, y, menuOrId);
    if (window == nullptr || !IsWindow(window)) {
        return nullptr;
    }
    info.parent = parent;
    info.style = style;
    info.exStyle = exStyle;
    info.x = x;
    info.y = y;

    const HICON smallIcon = smallIcon_ != nullptr ? smallIcon_ : LoadModuleIcon(SM_CXSMICON, SM_CYSMICON);
    shownIcon_ = largeIcon_ != nullptr ? largeIcon_ : LoadModuleIcon(SM_CXICON, SM_CYICON);
    if (smallIcon != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    }
    if (shownIcon_ != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shownIcon_));
    }
    ApplyRegion();
    if (topmost_) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (!movable_) {
        DeleteMenu(GetSystemMenu(window, FALSE), SC_MOVE, MF_BYCOMMAND);
    }
    switch (startMode_) {
        case kStartMinimised:
            ShowWindow(window, SW_MINIMIZE);
            break;
        case kStartMaximised:
            ShowWindow(window, SW_SHOWMAXIMIZED);
            break;
        default:
            if (startMode_ == kStartCentred && (IsIconic(window) || IsZoomed(window))) {
                ShowWindow(window, SW_RESTORE);
                SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            ShowWindow(window, SW_SHOWNORMAL);
            break;
    }
    return window;
}

std::int32_t CVWnd_WinForm::ShowModal() {
    const HWND window = GetHandle();
    if (window == nullptr) {
        return 0;
    }
    DisableContext context{window, GetCurrentProcessId(), {}};
    EnumWindows(&DisableProcessWindow, reinterpret_cast<LPARAM>(&context));

    const std::int32_t result = RunModalLoop(*this);

    for (const HWND disabled : context.disabled) {
        if (IsWindow(disabled)) {
            EnableWindow(disabled, TRUE);
        }
    }
    if (modalOwner_ != nullptr && IsWindow(modalOwner_)) {
        SetActiveWindow(modalOwner_);
    }
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
    if (focusBeforeModal_ != nullptr && IsWindow(focusBeforeModal_)) {
        SetFocus(focusBeforeModal_);
    }
    modalOwner_ = nullptr;
    focusBeforeModal_ = nullptr;
    return result;
}

void CVWnd_WinForm::EndModal(std::int32_t result) {
    if (modalState_ == kModalRunning) {
        modalResult_ = result;
        modalState_ = kModalIdle;
    }
}

void CVWnd_WinForm::NotifyModalStarting() {
    if (IWinFormEventListener* listener = GetFormListener()) {
        listener->OnModalStarting();
    }
}

bool CVWnd_WinForm::SetTrayIcon(HICON icon, const char16_t* tip) {
    RemoveTrayIcon();
    const HWND window = GetHandle();
    if (icon == nullptr) {
        return true;
    }
    trayIcon_ = icon;
    if (window == nullptr) {
        return false;
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = VM_TRAYICON;
    data.hIcon = icon;
    if (tip != nullptr) {
        lstrcpynW(data.szTip, reinterpret_cast<const wchar_t*>(tip), ARRAYSIZE(data.szTip));
    }
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void CVWnd_WinForm::RemoveTrayIcon() {
    if (trayIcon_ == nullptr) {
        return;
    }
    if (GetHandle() != nullptr) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = GetHandle();
        data.uID = kTrayIconId;
        Shell_NotifyIconW(NIM_DELETE, &data);
    }
    DestroyIcon(trayIcon_);
    trayIcon_ = nullptr;
}

LRESULT CVWnd_WinForm::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    IWinFormEventListener* listener = GetFormListener();
    const HWND window = GetHandle();
    switch (message) {
        case WM_ACTIVATE:
            if (!inActivate_) {
                inActivate_ = true;
                NotifyActivation(LOWORD(wParam) != WA_INACTIVE);
                inActivate_ = false;
            }
            break;
        case WM_CLOSE:
            return OnClose();
        case WM_QUERYENDSESSION:
            return listener != nullptr ? listener->OnClosing() : TRUE;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            if (info == nullptr) {
                break;
            }
            info->ptMinTrackSize = POINT{1, 1};
            if (listener != nullptr) {
                MINMAXINFO copy = *info;
                listener->OnMinMaxInfo(copy);
                *info = copy;
            }
            return 0;
        }
        case WM_MENUSELECT:
            if (listener != nullptr) {
                const UINT flags = HIWORD(wParam);
                const bool closing = flags == 0xFFFF && lParam == 0;
                const bool ignored = closing || (flags & kMenuSelectIgnoredFlags) != 0;
                listener->OnMenuSelect(ignored ? 0 : static_cast<std::int32_t>(LOWORD(wParam)));
            }
            break;
        case WM_DESTROY:
            RemoveTrayIcon();
            // The window would destroy the menu with itself, but the menu holder owns it.
            if (menu_ != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) {
                ::SetMenu(window, nullptr);
            }
            EndModal(kModalClosed);
            break;
        case WM_SIZE:
            if (regionKind_ != kRegionNone) {
                ApplyRegion();
            }
            break;
        case WM_PAINT:
            if (PaintIconic()) {
                return 0;
            }
            break;
        case WM_NCACTIVATE:
            if (wParam == 0 && keepCaptionActive_) {
                return CallDefaultProcedure(message, IsWindowEnabled(window), lParam);
            }
            break;
        case WM_COMMAND:
            if (lParam != 0 && commandFilter_ && IsFilteredButtonCommand(reinterpret_cast<HWND>(lParam))) {
                return 0;
            }
            break;
        case DM_GETDEFID:
            return DefaultButtonAnswer();
        case VM_TRAYICON:
            OnTrayIconMessage(lParam);
            return 0;
        case VM_SHOWPAGE:
            if (lParam == FRAMEWORK_MAGIC) {
                ShowPage(reinterpret_cast<HWND>(wParam));
                return FRAMEWORK_MAGIC;
            }
            break;
        case VM_PRETRANSLATE:
            if (lParam == FRAMEWORK_MAGIC) {
                return PreTranslate(reinterpret_cast<MSG*>(wParam)) ? FRAMEWORK_MAGIC : 0;
            }
            break;
        default:
            break;
    }
    if (GetHandle() == nullptr || !IsWindow(window)) {
        return 0;
    }
    return CVWnd_Container::HandleOwnMessage(message, wParam, lParam);
}

void CVWnd_WinForm::NotifyActivation(bool active) {
    IWinFormEventListener* listener = GetFormListener();
    if (listener == nullptr) {
        return;
    }
    if (!active) {
        listener->OnDeactivated();
        return;
    }
    if (!activatedOnce_) {
        activatedOnce_ = true;
        const HWND window = GetHandle();
        listener->OnFirstActivated();
        if (window == nullptr || !IsWindow(window) || GetFormListener() == nullptr) {
            return;
        }
    }
    GetFormListener()->OnActivated();
}

// QueryClose first, then Closing; both must agree. A modal form ends its loop instead of closing.
LRESULT CVWnd_WinForm::OnClose() {
    const HWND window = GetHandle();
    bool proceed = true;
    if (IWinFormEventListener* listener = GetFormListener()) {
        proceed = listener->OnQueryClose();
        if (proceed && IsWindow(window) && GetFormListener() != nullptr) {
            proceed = GetFormListener()->OnClosing();
        }
    }
    if (!proceed || !IsWindow(window) || GetHandle() == nullptr) {
        return 0;
    }
    if (modalState_ == kModalRunning) {
        EndModal(kModalClosed);
        return 0;
    }
    return CallDefaultProcedure(WM_CLOSE, 0, 0);
}

LRESULT CVWnd_WinForm::DefaultButtonAnswer() const {
    const HWND window = GetHandle();
    if (defaultButtonId_ == 0 || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        FindDescendantWithId(window, defaultButtonId_) == nullptr) {
        return 0;
    }
    return MAKELRESULT(defaultButtonId_, DC_HASDEFID);
}

// Children on the container's current page are shown, those on other pages hidden; children on
// every page (layer -1) and windows of other kinds are left as they are.
void CVWnd_WinForm::ShowPage(HWND container) {
    std::int32_t page = -1;
    if (container == nullptr ||
        SendMessageW(container, VM_GETPAGE, reinterpret_cast<WPARAM>(&page), FRAMEWORK_MAGIC) !=
            FRAMEWORK_MAGIC ||
        page < 0) {
        return;
    }
    for (HWND child = GetWindow(container, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        std::int32_t layer = -1;
        if (SendMessageW(child, VM_GETLAYER, reinterpret_cast<WPARAM>(&layer), FRAMEWORK_MAGIC) !=
                FRAMEWORK_MAGIC ||
            layer < 0) {
            continue;
        }
        ShowWindow(child, layer == page ? SW_SHOWNA : SW_HIDE);
    }
    InvalidateRect(container, nullptr, TRUE);
}

// Dialog keys: the menu's accelerators, Enter and Esc, then tab and arrow navigation and mnemonics.
bool CVWnd_WinForm::PreTranslate(MSG* msg) {
    if (msg == nullptr) {
        return false;
    }
    RelayToToolTip(msg);
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) {
        return false;
    }
    const HWND window = GetHandle();
    if (menu_ != nullptr && menu_->GetAcceleratorHandle() != nullptr &&
        TranslateAcceleratorW(window, menu_->GetAcceleratorHandle(), msg) != 0) {
        return true;
    }
    if (msg->message == WM_KEYDOWN && (IsEnterKey(msg->wParam) || IsEscapeKey(msg->wParam)) &&
        HandleEnterOrEscape(*msg)) {
        return true;
    }
    return IsDialogMessageW(window, msg) != FALSE;
}

// IsDialogMessageW would turn Enter and Esc into the commands IDOK and IDCANCEL without a sender
// whenever no control carries those ids, and a form takes such commands for menu items 1 and 2. So
// the keys are answered here, and no key ever raises a menu command.
bool CVWnd_WinForm::HandleEnterOrEscape(const MSG& msg) {
    const HWND window = GetHandle();
    const HWND focus = msg.hwnd;
    // A control that wants every key (a multi-line edit box) types Enter and Esc itself; the dialog
    // manager hands the key on to it.
    if (focus != window && (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
                            DLGC_WANTMESSAGE) != 0) {
        return false;
    }
    if (IsEnterKey(msg.wParam)) {
        if (focus != window && IsPushButton(focus)) {
            if (IsWindowEnabled(focus)) {
                PressButton(focus);
            }
        } else if (const HWND button = DefaultButton()) {
            PressButton(button);
        }
    } else if (modalState_ == kModalRunning) {
        SendMessageW(window, WM_CLOSE, 0, 0);  // the close box: the close questions, then kModalClosed
    }
    return true;
}

HWND CVWnd_WinForm::DefaultButton() const {
    if (HIWORD(DefaultButtonAnswer()) != DC_HASDEFID) {
        return nullptr;
    }
    const HWND button = FindDescendantWithId(GetHandle(), defaultButtonId_);
    return button != nullptr && IsWindowEnabled(button) ? button : nullptr;
}

void CVWnd_WinForm::OnTrayIconMessage(LPARAM mouseMessage) {
    IWinFormEventListener* listener = GetFormListener();
    if (listener == nullptr) {
        return;
    }
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONUP:
            listener->OnTrayIcon(1);
            break;
        case WM_LBUTTONDBLCLK:
            listener->OnTrayIcon(2);
            break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            listener->OnTrayIcon(3);
            break;
        default:
            break;
    }
}

void CVWnd_WinForm::ApplyRegion() {
    const HWND window = GetHandle();
    if (regionKind_ == kRegionNone || window == nullptr) {
        return;
    }
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const HRGN region =
        regionKind_ == kRegionEllipse
            ? CreateEllipticRgn(0, 0, width, height)
            : CreateRoundRectRgn(0, 0, width + 1, height + 1, kRoundCornerSize, kRoundCornerSize);
    // The system owns the region once it is set.
    if (region != nullptr && !SetWindowRgn(window, region, TRUE)) {
        DeleteObject(region);
    }
}

bool CVWnd_WinForm::PaintIconic() {
    const HWND window = GetHandle();
    if (shownIcon_ == nullptr || !IsIconic(window)) {
        return false;
    }
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, shownIcon_);
    EndPaint(window, &paint);
    return true;
}

bool CVWnd_WinForm::IsFilteredButtonCommand(HWND control) const {
    wchar_t className[16] = {};
    if (GetClassNameW(control, className, ARRAYSIZE(className)) == 0 ||
        lstrcmpiW(className, L"BUTTON") != 0) {
        return false;
    }
    return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) != BS_DEFPUSHBUTTON;
}
