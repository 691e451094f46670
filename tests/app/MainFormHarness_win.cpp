#include "tests/app/MainFormHarness.h"

#include <commctrl.h>
#include <objbase.h>

#include <objbase.h>
#include <algorithm>
#include <iterator>

#include "app/export/filesystem/NameCoding.h"
#include "app/main_form/MainFormLayout.h"
#include "appsvc/CVolAppInstance.h"
#include "tests/ui/ShellDrop_win.h"
#include "ui/ControlCreateInfo.h"

MainFormHarness::MainFormHarness(double scale)
    : previousScale_(GetAppInstance().GetScale()),
      comInitialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    GetAppInstance().SetScale(scale);
    form_ = new MainForm;
    ControlCreateInfo info;
    info.x = ControlCreateInfo::kDefault;
    info.y = ControlCreateInfo::kDefault;
    info.width = ControlCreateInfo::kDefault;
    info.height = ControlCreateInfo::kDefault;
    form_->SetShellSeams(&shell, &saveDialogs, &taskbar);
    form_->CreateControl(info);
    PumpMessages();
}

MainFormHarness::~MainFormHarness() {
    form_->Destroy();
    PumpMessages();
    GetAppInstance().SetScale(previousScale_);
    if (comInitialised_) {
        CoUninitialize();
    }
}

std::u16string MainFormHarness::Text(int id) const {
    return WindowText(Child(id));
}

void MainFormHarness::Type(std::u16string_view text) {
    const std::u16string copy(text);
    SendMessageW(Child(PATH_BOX_ID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

void MainFormHarness::Click(int id) {
    SendMessageW(Child(id), BM_CLICK, 0, 0);
    PumpMessages();
}

bool MainFormHarness::Generate() {
    Click(GENERATE_BUTTON_ID);
    return WaitForExport();
}

bool MainFormHarness::WaitForExport(DWORD timeoutMs) {
    return PumpUntil([this] { return !form_->IsExporting(); }, timeoutMs);
}

void MainFormHarness::Drop(HWND target, const std::vector<std::u16string>& names) {
    // The receiver finishes the drop.
    SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
    PumpMessages();
}

void MainFormHarness::ClickStatus() {
    const HWND label = Child(STATUS_LABEL_ID);
    RECT client{};
    GetClientRect(label, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(label, WM_LBUTTONUP, 0, middle);
    PumpMessages();
}

// The key's message goes where the focus is, with Ctrl held in this thread's keyboard state.
void MainFormHarness::PressCtrlO(int id) {
    const HWND target = id == 0 ? Window() : Child(id);
    SetFocus(target);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE held[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(held));
    held[VK_CONTROL] = 0x80;
    held[VK_LCONTROL] = 0x80;
    SetKeyboardState(held);
    SendMessageW(target, WM_KEYDOWN, 'O', 1);
    SendMessageW(target, WM_KEYUP, 'O', 0xC0000001);
    SetKeyboardState(keys);
    PumpMessages();
}

HCURSOR MainFormHarness::StatusCursor() {
    const HWND label = Child(STATUS_LABEL_ID);
    SetCursor(nullptr);
    SendMessageW(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

void MainFormHarness::AnnounceTaskbarButton() {
    SendMessageW(Window(), RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
}

BOOL RecordingShell::Execute(SHELLEXECUTEINFOW& info) const {
    calls.push_back({info.lpVerb != nullptr ? reinterpret_cast<const char16_t*>(info.lpVerb) : u"",
                     info.lpFile != nullptr ? reinterpret_cast<const char16_t*>(info.lpFile) : u""});
    if (failure != 0) {
        SetLastError(failure);
        return FALSE;
    }
    return TRUE;
}

void PrintTo(const RecordingShell::Call& call, std::ostream* out) {
    *out << "{" << EncodeUtf8(call.verb) << ", " << EncodeUtf8(call.file) << "}";
}

ITaskbarList3* RecordingTaskbar::MakeTaskbarList() const {
    if (missing) {
        return nullptr;
    }
    auto* self = const_cast<RecordingTaskbar*>(this);
    self->AddRef();
    return self;
}

HRESULT RecordingTaskbar::QueryInterface(REFIID, void** out) {
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingTaskbar::SetProgressValue(HWND window, ULONGLONG done, ULONGLONG total) {
    Note(window);
    values.emplace_back(done, total);
    return S_OK;
}

HRESULT RecordingTaskbar::SetProgressState(HWND window, TBPFLAG state) {
    Note(window);
    states.push_back(state);
    return S_OK;
}

void RecordingTaskbar::Note(HWND window) {
    window_ = window;
    if (GetCurrentThreadId() != thread_) {
        calledFromAnotherThread = true;
    }
}

IFileDialog* CountingSaveDialogs::MakeDialog() const {
    ++made;
    if (dialog != nullptr) {
        dialog->AddRef();
    }
    return dialog;
}

void PumpMessages() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int read = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return text;
}

HWND DropTargetFor(HWND window) {
    for (HWND candidate = window; candidate != nullptr; candidate = GetAncestor(candidate, GA_PARENT)) {
        if ((GetWindowLongPtrW(candidate, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0) {
            return candidate;
        }
        if ((GetWindowLongPtrW(candidate, GWL_STYLE) & WS_CHILD) == 0) {
            break;  // drops do not travel past the top-level window
        }
    }
    return nullptr;
}

int CountPixels(HWND window, COLORREF color) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) {
        return 0;
    }
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
    const std::uint32_t wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    int count = 0;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        count += (pixels[i] & 0xFFFFFF) == wanted ? 1 : 0;
    }
    SelectObject(memoryDc, previous);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return count;
}

SetTextRecorder::SetTextRecorder(std::vector<std::pair<HWND, std::u16string>> windows)
    : windows_(std::move(windows)) {
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        SetWindowSubclass(windows_[i].first, &SetTextRecorder::Procedure, i,
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

SetTextRecorder::~SetTextRecorder() {
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        RemoveWindowSubclass(windows_[i].first, &SetTextRecorder::Procedure, i);
    }
}

LRESULT CALLBACK SetTextRecorder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data) {
    if (message == WM_SETTEXT) {
        auto* self = reinterpret_cast<SetTextRecorder*>(data);
        const auto* text = reinterpret_cast<const char16_t*>(lParam);
        self->entries_.push_back(self->windows_[id].second + u"=" + (text != nullptr ? text : u""));
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
