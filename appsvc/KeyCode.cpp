#include "appsvc/KeyCode.h"

#include "appsvc/VirtualKeyNames.h"

namespace {

inline constexpr unsigned int VK_SHIFT_KEY = 0x10;
inline constexpr unsigned int VK_CTRL_KEY = 0x11;
inline constexpr unsigned int VK_ALT_KEY = 0x12;
inline constexpr unsigned int VK_PAD_0 = 0x60;
inline constexpr unsigned int VK_PAD_9 = 0x69;
inline constexpr unsigned int VK_PAD_MINUS = 0x6D;
inline constexpr unsigned int VK_PAD_POINT = 0x6E;
inline constexpr unsigned int VK_PAD_SLASH = 0x6F;
inline constexpr unsigned int VK_MAIN_0 = 0x30;
inline constexpr unsigned int VK_MAIN_MINUS = 0xBD;
inline constexpr unsigned int VK_MAIN_POINT = 0xBE;
inline constexpr unsigned int VK_MAIN_SLASH = 0xBF;

unsigned int FoldKey(unsigned int key) {
    if (key >= VK_PAD_0 && key <= VK_PAD_9) {
        return key - VK_PAD_0 + VK_MAIN_0;
    }
    switch (key) {
        case VK_PAD_MINUS:
            return VK_MAIN_MINUS;
        case VK_PAD_POINT:
            return VK_MAIN_POINT;
        case VK_PAD_SLASH:
            return VK_MAIN_SLASH;
        default:
            return VirtualKeyNames[key][0] == u'\0' ? 0 : key;
    }
}

}  // namespace

unsigned int KeyCodeFromVirtualKey(unsigned int virtualKey, ModifierKeys held) {
    unsigned int key = FoldKey(virtualKey & 0xFF);
    if (key == 0) {
        return 0;
    }
    unsigned int code = key;
    if (key != VK_CTRL_KEY && held.ctrl) {
        code |= KEYMOD_CTRL;
    }
    if (key != VK_SHIFT_KEY && held.shift) {
        code |= KEYMOD_SHIFT;
    }
    if (key != VK_ALT_KEY && held.alt) {
        code |= KEYMOD_ALT;
    }
    return code;
}

unsigned int KeyCodeFromVirtualKey(unsigned int virtualKey) {
    return KeyCodeFromVirtualKey(virtualKey, CurrentModifierKeys());
}
