#include "appsvc/Win32Api.h"

#include "appsvc/KeyCode.h"

// GetKeyState reflects the keyboard as of the message being handled; a key is down when negative.
ModifierKeys CurrentModifierKeys() {
    ModifierKeys held;
    held.ctrl = GetKeyState(VK_CONTROL) < 0;
    held.alt = GetKeyState(VK_MENU) < 0;
    held.shift = GetKeyState(VK_SHIFT) < 0;
    return held;
}
