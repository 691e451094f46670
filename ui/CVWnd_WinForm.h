#pragma once

#include <cstdint>

#include "appsvc/IModalLoopOwner.h"
#include "appsvc/Win32Api.h"

#include "runtime/CWString.h"
#include "ui/CVWnd_Container.h"
#include "ui/IWinFormEventListener.h"

class CRefVolMenu;

// The native window of a form: a top-level (or child) window of the framework's form class. Beyond
// the container it keeps the frame settings used at creation, the default button, the menu, icons,
// the tray icon and the modal state, and it raises the form notifications (activation, close
// questions, min/max information, menu selection, tray icon).
//
// Keys in a form follow the dialog conventions (the message loop offers them through
// VM_PRETRANSLATE): Tab and Shift+Tab move the focus through the tab stops in creation order, the
// arrows within a group, mnemonics press their buttons. Enter presses the focused push button, or
// else the default button (SetDefaultButtonId) when it exists and is enabled; Esc in a modal form is
// its close box (the close questions are asked; the modal result is kModalClosed). Otherwise both
// keys do nothing, and a control that wants every key (a multi-line edit box) gets them. No key ever
// raises a command event: those come from menus only, so menu items 1 and 2 run only when chosen.
class CVWnd_WinForm : public CVWnd_Container, public IModalLoopOwner {
public:
    // Border kinds.
    static inline constexpr int kBorderNone = 0;
    static inline constexpr int kBorderSizable = 1;
    static inline constexpr int kBorderFixed = 2;
    static inline constexpr int kBorderSizableTool = 3;
    static inline constexpr int kBorderFixedTool = 4;
    static inline constexpr int kBorderSizableClientEdge = 5;
    static inline constexpr int kBorderFixedClientEdge = 6;
    // Start modes.
    static inline constexpr int kStartAtPosition = 0;
    static inline constexpr int kStartCentred = 1;
    static inline constexpr int kStartMinimised = 2;
    static inline constexpr int kStartMaximised = 3;
    // Window regions.
    static inline constexpr int kRegionNone = 0;
    static inline constexpr int kRegionEllipse = 1;
    static inline constexpr int kRegionRoundRect = 2;

    static inline constexpr int kIconResourceId = 100;
    static inline constexpr UINT kTrayIconId = 100;
    static inline constexpr std::int32_t kModalClosed = -1;  // result of a modal form closed or destroyed

    // Construction
    CVWnd_WinForm() = default;
    ~CVWnd_WinForm() override;

    // Attributes
    const char16_t* GetNativeClassName() const override { return u"CVWnd_WinForm"; }
    IWinFormEventListener* GetFormListener() const {
        return static_cast<IWinFormEventListener*>(GetListener());
    }
    void SetFormListener(IWinFormEventListener* listener) { SetListenerPointer(listener); }
    std::int32_t GetDefaultButtonId() const { return defaultButtonId_; }
    void SetDefaultButtonId(std::int32_t id) { defaultButtonId_ = id; }
    int GetBorderKind() const { return borderKind_; }
    void SetBorderKind(int kind) { borderKind_ = kind; }
    bool HasCaption() const { return caption_; }
    void SetCaption(bool caption) { caption_ = caption; }
    void SetMaximizeBox(bool box) { maximizeBox_ = box; }
    void SetMinimizeBox(bool box) { minimizeBox_ = box; }
    int GetStartMode() const { return startMode_; }
    void SetStartMode(int mode) { startMode_ = mode; }
    void SetTopmost(bool topmost) { topmost_ = topmost; }
    void SetMovable(bool movable) { movable_ = movable; }
    void SetRegionKind(int kind) { regionKind_ = kind; }
    // Icons shown by the window (not owned); without them the module's icon resource 100 is used.
    void SetIcons(HICON smallIcon, HICON largeIcon) {
        smallIcon_ = smallIcon;
        largeIcon_ = largeIcon;
    }
    void SetKeepCaptionActive(bool keep) { keepCaptionActive_ = keep; }
    // While set, WM_COMMAND from a button that is not the default push button is dropped.
    void SetCommandFilter(bool filter) { commandFilter_ = filter; }
    CRefVolMenu* GetMenu() const { return menu_; }
    // Holds a reference to `menu` (null removes the menu) and shows it when the window exists.
    void SetMenu(CRefVolMenu* menu);

    // Operations
    // Completes the style, ex style and title of a record for this form's frame settings.
    void CompleteCreateInfo(ControlCreateInfo& info);
    // Makes the window as the record describes and shows it in its start mode; for a modal record the
    // owner and frame are chosen here, and the record keeps the styles and position actually used.
    HWND Create(ControlCreateInfo& info);
    // Runs the modal loop of a window made from a modal record; disables the process's other windows
    // meanwhile and destroys the form's window afterwards. Returns the modal result.
    std::int32_t ShowModal();
    // Ends a running modal loop with `result`.
    void EndModal(std::int32_t result);
    // Shows `icon` in the notification area (owned by the form from now on; id 100, callback
    // VM_TRAYICON) with `tip`; null removes it.
    bool SetTrayIcon(HICON icon, const char16_t* tip);

    // IModalLoopOwner
    HWND GetModalWindow() const override { return GetHandle(); }
    int GetModalState() const override { return modalState_; }
    void SetModalState(int state) override { modalState_ = state; }
    int GetModalResult() const override { return modalResult_; }
    void SetModalResult(int result) override { modalResult_ = result; }
    void NotifyModalStarting() override;

protected:
    WindowClassDescription& GetWindowClass() const override;
    LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void NotifyActivation(bool active);
    LRESULT OnClose();
    LRESULT DefaultButtonAnswer() const;
    void ShowPage(HWND container);
    bool PreTranslate(MSG* msg);
    bool HandleEnterOrEscape(const MSG& msg);
    HWND DefaultButton() const;
    void OnTrayIconMessage(LPARAM mouseMessage);
    void RemoveTrayIcon();
    void ApplyRegion();
    bool PaintIconic();
    bool IsFilteredButtonCommand(HWND control) const;

    std::int32_t defaultButtonId_ = 0;
    int modalState_ = kModalIdle;
    std::int32_t modalResult_ = 0;
    bool activatedOnce_ = false;
    bool inActivate_ = false;
    CRefVolMenu* menu_ = nullptr;  // one reference
    int borderKind_ = kBorderFixed;
    bool caption_ = true;
    bool maximizeBox_ = false;
    bool minimizeBox_ = true;
    int startMode_ = kStartCentred;
    bool topmost_ = false;
    bool movable_ = true;
    int regionKind_ = kRegionNone;
    HICON smallIcon_ = nullptr;
    HICON largeIcon_ = nullptr;
    HICON shownIcon_ = nullptr;  // the large icon in use, drawn while the form is minimised
    HICON trayIcon_ = nullptr;   // owned
    bool keepCaptionActive_ = false;
    bool commandFilter_ = false;
    HWND modalOwner_ = nullptr;
    HWND focusBeforeModal_ = nullptr;
    CWString defaultTitle_;
};
