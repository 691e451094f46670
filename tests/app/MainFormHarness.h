#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/main_form/MainForm.h"
#include "appsvc/Win32Api.h"

// A MainForm with its windows, made the way MainApp::RunMain makes it, at a chosen display scale; the
// test drives it through its windows, as a user and the system would. COM is initialised
// single-threaded for the folder picker. Everything is undone on destruction.
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
