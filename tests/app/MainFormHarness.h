#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/main_form/MainForm.h"
#include "appsvc/Win32Api.h"
#include "tests/app/FakeFileDialog_win.h"

// Stands in for the shell: records what the window asks it to do, and answers as configured.
class RecordingShell : public ShellSeam {
public:
    struct Call {
        std::u16string verb;
        std::u16string file;
        bool operator==(const Call&) const = default;
    };

    BOOL Execute(SHELLEXECUTEINFOW& info) const override;

    // The system's error number a call fails with; 0: every call succeeds.
    DWORD failure = 0;
    mutable std::vector<Call> calls;
};
void PrintTo(const RecordingShell::Call& call, std::ostream* out);

// Stands in for the taskbar, which Wine does not show: records every progress state it is told, in order.
class RecordingTaskbar : public ITaskbarList3, public TaskbarSeam {
public:
    ITaskbarList3* MakeTaskbarList() const override;

    // No taskbar list on this system: none is handed out.
    bool missing = false;
    std::vector<TBPFLAG> states;
    std::vector<std::pair<ULONGLONG, ULONGLONG>> values;
    // A call from a thread other than the one that made the list.
    bool calledFromAnotherThread = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND window, ULONGLONG done, ULONGLONG total) override;
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND window, TBPFLAG state) override;
    HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }

private:
    void Note(HWND window);

    ULONG references_ = 0;
    HWND window_ = nullptr;
    DWORD thread_ = GetCurrentThreadId();
};

// Hands out the test's save dialog when one is set, and counts how often the window asked for one.
class CountingSaveDialogs : public SaveDialogSeam {
public:
    IFileDialog* MakeDialog() const override;

    FakeDialog* dialog = nullptr;
    mutable int made = 0;
};

// A MainForm with its windows, made the way MainApp::RunMain makes it, at a chosen display scale; the
// test drives it through its windows, as a user and the system would. COM is initialised
// single-threaded for the folder picker. The shell, the save dialog and the taskbar are the recording
// stand-ins below, so that no test starts a program for a workbook. Everything is undone on destruction.
class MainFormHarness {
public:
    explicit MainFormHarness(double scale = 1.0);
    ~MainFormHarness();
    MainFormHarness(const MainFormHarness&) = delete;
    MainFormHarness& operator=(const MainFormHarness&) = delete;

    MainForm& Form() { return *form_; }
    HWND Window() const { return form_->GetWindow(); }
    HWND Child(int id) const { return GetDlgItem(Window(), id); }
    std::u16string Text(int id) const;
    // The path box's text as typing or pasting leaves it.
    void Type(std::u16string_view text);
    void Click(int id);
    // Presses "生成EXCEL" and waits for the export's end: as a user sees it, the outcome is then shown.
    // False when it did not end within two minutes.
    bool Generate();
    // Pumps messages until the form's export has ended (at once when none runs); false on the timeout.
    bool WaitForExport(DWORD timeoutMs = kExportTimeoutMs);

    static constexpr DWORD kExportTimeoutMs = 120000;
    // A drop of `names` delivered to `target` as the shell delivers it.
    void Drop(HWND target, const std::vector<std::u16string>& names);
    // A left click in the middle of the status line.
    void ClickStatus();
    // Ctrl+O pressed while `id` (0: the form itself) has the focus.
    void PressCtrlO(int id);
    // The cursor the status line shows when the mouse moves over it.
    HCURSOR StatusCursor();
    // What the system sends once the window's taskbar button exists.
    void AnnounceTaskbarButton();

    RecordingShell shell;
    RecordingTaskbar taskbar;
    CountingSaveDialogs saveDialogs;

private:
    double previousScale_;
    bool comInitialised_;
    MainForm* form_;
};

// Dispatches everything waiting in this thread's queue.
void PumpMessages();

// Dispatches this thread's messages, as a message loop would, until `done()` holds; false when it
// still does not after `timeoutMs`.
template <class Condition>
bool PumpUntil(Condition done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpMessages();
        if (done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(deadline - now < 20 ? deadline - now : 20), QS_ALLINPUT);
    }
}

// The window text of `window`.
std::u16string WindowText(HWND window);

// The window a drop at a point inside `window` is delivered to: the window itself or its nearest
// ancestor that accepts dropped files (WS_EX_ACCEPTFILES), as the system routes it; null when none does.
HWND DropTargetFor(HWND window);

// Pixels of the window's client area, as painted now, that have exactly the colour `color`.
int CountPixels(HWND window, COLORREF color);

// Records every WM_SETTEXT that reaches the given windows, in order, as "name=text".
class SetTextRecorder {
public:
    explicit SetTextRecorder(std::vector<std::pair<HWND, std::u16string>> windows);
    ~SetTextRecorder();
    SetTextRecorder(const SetTextRecorder&) = delete;
    SetTextRecorder& operator=(const SetTextRecorder&) = delete;

    const std::vector<std::u16string>& Entries() const { return entries_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    std::vector<std::pair<HWND, std::u16string>> windows_;
    std::vector<std::u16string> entries_;
};
