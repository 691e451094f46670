#pragma once

#include "appsvc/Win32Api.h"

#include "appsvc/FrameworkMessages.h"

class CVWnd_Base;

// Private messages of the framework's native windows, beside VM_ADDFILTER, VM_REMOVEFILTER and
// VM_PRETRANSLATE. Unless noted, lParam must be FRAMEWORK_MAGIC and a window answers FRAMEWORK_MAGIC
// when it acted; with another lParam the message is handled as any other.
inline constexpr UINT VM_SHOWPAGE = 0x9FF7;     // forms; wParam: a container window whose page to show
inline constexpr UINT VM_GETPAGE = 0x9FF8;      // containers; wParam: int32* receiving the current page
inline constexpr UINT VM_SETLAYER = 0x9FFC;     // wParam: the new layer
inline constexpr UINT VM_GETLAYER = 0x9FFD;     // wParam: int32* receiving the layer
inline constexpr UINT VM_QUERYOBJECT = 0x9FFE;  // wParam: NativeObjectQuery*
inline constexpr UINT VM_TRAYICON = 0xA000;     // a form's tray-icon callback; lParam: the mouse message
inline constexpr UINT VM_LABELEVENT = 0xA002;   // labels; wParam and lParam go to the label event

// VM_QUERYOBJECT: a window whose native object has the class name `className` ("CVWnd_WinForm", ...)
// stores the object's address in *result.
struct NativeObjectQuery {
    const char16_t* className;
    CVWnd_Base** result;
};
