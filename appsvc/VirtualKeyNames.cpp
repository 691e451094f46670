#include "appsvc/VirtualKeyNames.h"

// Indexed by virtual-key code; 177 codes are named.
// clang-format off
const char16_t* const VirtualKeyNames[VIRTUAL_KEY_COUNT] = {
    /* 0x00 */ u"", u"LButton", u"RButton", u"Break", u"MButton", u"XButton1", u"XButton2", u"",
    /* 0x08 */ u"Backspace", u"Tab", u"", u"", u"PadCenter", u"Enter", u"", u"",
    /* 0x10 */ u"Shift", u"Ctrl", u"Alt", u"Pause", u"CapsLock", u"KANA", u"", u"JUNJA",
    /* 0x18 */ u"FINAL", u"HANJA", u"", u"ESC", u"Convert", u"Nonconvert", u"Accept", u"ModeChange",
    /* 0x20 */ u"Space", u"PageUp", u"PageDown", u"End", u"Home", u"Left", u"Up", u"Right",
    /* 0x28 */ u"Down", u"Select", u"Print", u"Execute", u"Snapshot", u"Ins", u"Del", u"Help",
    /* 0x30 */ u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7",
    /* 0x38 */ u"8", u"9", u"", u"", u"", u"", u"", u"",
    /* 0x40 */ u"", u"A", u"B", u"C", u"D", u"E", u"F", u"G",
    /* 0x48 */ u"H", u"I", u"J", u"K", u"L", u"M", u"N", u"O",
    /* 0x50 */ u"P", u"Q", u"R", u"S", u"T", u"U", u"V", u"W",
    /* 0x58 */ u"X", u"Y", u"Z", u"LeftWin", u"RightWin", u"Apps", u"", u"Sleep",
    /* 0x60 */ u"", u"", u"", u"", u"", u"", u"", u"",
    /* 0x68 */ u"", u"", u"PadMul", u"PadPlus", u"", u"", u"", u"",
    /* 0x70 */ u"F1", u"F2", u"F3", u"F4", u"F5", u"F6", u"F7", u"F8",
    /* 0x78 */ u"F9", u"F10", u"F11", u"F12", u"F13", u"F14", u"F15", u"F16",
    /* 0x80 */ u"F17", u"F18", u"F19", u"F20", u"F21", u"F22", u"F23", u"F24",
    /* 0x88 */ u"", u"", u"", u"", u"", u"", u"", u"",
    /* 0x90 */ u"NumLock", u"ScrollLock", u"Dictionary", u"UnregisterWord", u"RegisterWord", u"LeftOYAYUBI", u"RightOYAYUBI", u"",
    /* 0x98 */ u"", u"", u"", u"", u"", u"", u"", u"",
    /* 0xA0 */ u"LeftShift", u"RightShift", u"LeftControl", u"RightControl", u"LeftMenu", u"RightMenu", u"BrowserBack", u"BrowserForward",
    /* 0xA8 */ u"BrowserRefresh", u"BrowserStop", u"BrowserSearch", u"BrowserFavorites", u"BrowserHome", u"VolumeMute", u"VolumeDown", u"VolumeUp",
    /* 0xB0 */ u"MediaNextTrack", u"MediaPrevTrack", u"MediaStop", u"MediaPlayPause", u"LaunchMail", u"LaunchMediaSelect", u"LaunchApp1", u"LaunchApp2",
    /* 0xB8 */ u"", u"", u";", u"=", u",", u"-", u".", u"/",
    /* 0xC0 */ u"`", u"", u"", u"", u"", u"", u"", u"",
    /* 0xC8 */ u"", u"", u"", u"", u"", u"", u"", u"",
    /* 0xD0 */ u"", u"", u"", u"", u"", u"", u"", u"",
    /* 0xD8 */ u"", u"", u"", u"[", u"\\", u"]", u"'", u"",
    /* 0xE0 */ u"", u"OEM_AX", u"OEM_102", u"ICO_HELP", u"ICO_00", u"PROCESSKEY", u"ICO_CLEAR", u"PACKET",
    /* 0xE8 */ u"", u"OEM_RESET", u"OEM_JUMP", u"OEM_PA1", u"OEM_PA2", u"OEM_PA3", u"OEM_WSCTRL", u"OEM_CUSEL",
    /* 0xF0 */ u"OEM_ATTN", u"OEM_FINISH", u"OEM_COPY", u"OEM_AUTO", u"OEM_ENLW", u"OEM_BACKTAB", u"ATTN", u"CRSEL",
    /* 0xF8 */ u"EXSEL", u"EREOF", u"PLAY", u"ZOOM", u"NONAME", u"PA1", u"OEM_CLEAR", u"",
};
// clang-format on
