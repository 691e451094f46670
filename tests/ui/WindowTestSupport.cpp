#include "WindowTestSupport.h"

#include "appsvc/DibImage.h"
#include "appsvc/FrameworkPreTranslate.h"

void PumpMessages() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) {
            return;
        }
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PressKey(HWND target, UINT key) {
    const UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, MAKELPARAM(1, scanCode));
    PostMessageW(target, WM_KEYUP, key, MAKELPARAM(1, scanCode | KF_REPEAT | KF_UP));
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        if (!FrameworkPreTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

bool TakeQuitMessage() {
    bool found = false;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        found = true;
    }
    return found;
}

ControlCreateInfo MakeCreateInfo(HWND parent, CVolWinControl* owner, int x, int y, int width, int height,
                                 int id) {
    ControlCreateInfo info;
    info.parent = parent;
    info.owner = owner;
    info.x = x;
    info.y = y;
    info.width = width;
    info.height = height;
    info.id = id;
    info.layer = -1;
    return info;
}

ControlCreateInfo MakeDefaultFormInfo() {
    return MakeCreateInfo(nullptr, nullptr, ControlCreateInfo::kDefault, ControlCreateInfo::kDefault,
                          ControlCreateInfo::kDefault, ControlCreateInfo::kDefault);
}

std::u16string WindowText(HWND window) {
    wchar_t text[512] = {};
    const int length = GetWindowTextW(window, text, 512);
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

void TestForm::CreateChildren() {
    ++createChildrenCalls;
    windowDuringCreateChildren = GetWindow();
    if (onCreateChildren != nullptr) {
        onCreateChildren(*this);
    }
}

bool IsDropAlive(HDROP drop) {
    return GlobalSize(static_cast<HGLOBAL>(drop)) != 0;
}

HBITMAP HalfTransparentPicture(int width, int height, RGBQUAD left) {
    DibImage image;
    if (!CreateDib(image, width, height, 32, 1)) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<RGBQUAD*>(image.bits + static_cast<std::ptrdiff_t>(y) * image.stride);
        for (int x = 0; x < width; ++x) {
            row[x] = x < width / 2 ? left : RGBQUAD{0, 0, 0, 0};
        }
    }
    return DetachDib(image);
}
