#include "appsvc/DisplayMetrics.h"

#include "appsvc/CVolAppInstance.h"
#include "appsvc/DisplayScale.h"
#include "appsvc/SystemLibrary.h"

namespace {

inline constexpr int kPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
inline constexpr int kEffectiveDpi = 0;        // MDT_EFFECTIVE_DPI

using SetProcessDpiAwarenessFunction = HRESULT(WINAPI*)(int awareness);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR monitor, int type, UINT* dpiX, UINT* dpiY);

// GetProcAddress returns a generic function pointer; the real signature is known by name only.
template <class Function>
Function LookUp(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

void DeclarePerMonitorAware(const char16_t* shcoreLibrary) {
    HMODULE library = LoadSystemLibrary(reinterpret_cast<const wchar_t*>(shcoreLibrary));
    if (library == nullptr) {
        return;
    }
    if (auto setAwareness = LookUp<SetProcessDpiAwarenessFunction>(library, "SetProcessDpiAwareness")) {
        setAwareness(kPerMonitorDpiAware);
    }
    FreeLibrary(library);
}

UINT MonitorDpiY(const char16_t* shcoreLibrary, HWND window) {
    HMODULE library = LoadSystemLibrary(reinterpret_cast<const wchar_t*>(shcoreLibrary));
    if (library == nullptr) {
        return 0;
    }
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (auto getDpi = LookUp<GetDpiForMonitorFunction>(library, "GetDpiForMonitor")) {
        if (FAILED(
                getDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &dpiX, &dpiY))) {
            dpiY = 0;
        }
    }
    FreeLibrary(library);
    return dpiY;
}

int LogPixelsY(HWND window) {
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return 0;
    }
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi;
}

}  // namespace

double ComputeDisplayScale(const char16_t* shcoreLibrary) {
    DeclarePerMonitorAware(shcoreLibrary);
    const HWND desktop = GetDesktopWindow();
    int dpiY = static_cast<int>(MonitorDpiY(shcoreLibrary, desktop));
    if (dpiY <= 0) {
        dpiY = LogPixelsY(desktop);
    }
    CVolAppInstance& instance = GetAppInstance();
    instance.SetScale(ScaleFromDpi(dpiY));
    return instance.GetScale();
}

int ScaleToDevice(int value) {
    return ScaleToDevice(GetAppInstance().GetScale(), value);
}

double PointsToPixels(double points) {
    return PointsToPixels(points, LogPixelsY(nullptr));
}

RECT GetMonitorRect(HWND window) {
    if (window != nullptr) {
        if (HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info)) {
                return info.rcMonitor;
            }
        }
    }
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int StretchModeForDisplay() {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) || mode.dmBitsPerPel <= 16) {
        return COLORONCOLOR;
    }
    return HALFTONE;
}
