#include "app/main_form/OpenWorkbook.h"

// SEE_MASK_FLAG_NO_UI: without a program for the type the shell would ask with a dialog of its own;
// the window says so in its status line instead. The shell may use COM, which the window's thread has.
bool OpenWorkbook(HWND owner, const std::u16string& path, const ShellSeam* seam) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = reinterpret_cast<const wchar_t*>(path.c_str());
    info.nShow = SW_SHOWNORMAL;
    return (seam != nullptr ? seam->Execute(info) : ShellExecuteExW(&info)) != FALSE;
}
