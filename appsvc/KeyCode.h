#pragma once

// Key codes: a virtual-key code in the low byte plus modifier bits; 0 means no key. Keypad digits and
// punctuation fold into their main-keyboard twins and keys without a name give 0.

inline constexpr unsigned int KEYMOD_CTRL = 0x2000;
inline constexpr unsigned int KEYMOD_ALT = 0x4000;
inline constexpr unsigned int KEYMOD_SHIFT = 0x8000;

// Which of the generic modifier keys are held.
struct ModifierKeys {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

// The modifiers held now: GetKeyState on Windows; none elsewhere.
ModifierKeys CurrentModifierKeys();

// Only the low byte of `virtualKey` is used. Ctrl, Shift and Alt do not carry their own bit; their
// left and right variants do.
unsigned int KeyCodeFromVirtualKey(unsigned int virtualKey, ModifierKeys held);
unsigned int KeyCodeFromVirtualKey(unsigned int virtualKey);
