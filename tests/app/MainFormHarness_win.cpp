#include "tests/app/MainFormHarness.h"

#include <commctrl.h>
#include <objbase.h>

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
