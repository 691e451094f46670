#include <gtest/gtest.h>

#include <string>

#include "appsvc/KeyCode.h"
#include "appsvc/VirtualKeyNames.h"

namespace {

ModifierKeys Held(bool ctrl, bool alt, bool shift) {
    ModifierKeys held;
    held.ctrl = ctrl;
    held.alt = alt;
    held.shift = shift;
    return held;
}

const ModifierKeys NONE = Held(false, false, false);
const ModifierKeys CTRL = Held(true, false, false);
const ModifierKeys ALT = Held(false, true, false);
const ModifierKeys SHIFT = Held(false, false, true);
const ModifierKeys ALL = Held(true, true, true);

// The unnamed codes, as ranges of first and last code.
constexpr unsigned int UNNAMED_RANGES[][2] = {
    {0x00, 0x00}, {0x07, 0x07}, {0x0A, 0x0B}, {0x0E, 0x0F}, {0x16, 0x16}, {0x1A, 0x1A},
    {0x3A, 0x40}, {0x5E, 0x5E}, {0x60, 0x69}, {0x6C, 0x6F}, {0x88, 0x8F}, {0x97, 0x9F},
    {0xB8, 0xB9}, {0xC1, 0xDA}, {0xDF, 0xE0}, {0xE8, 0xE8}, {0xFF, 0xFF},
};

bool IsListedUnnamed(unsigned int code) {
    for (const auto& range : UNNAMED_RANGES) {
        if (code >= range[0] && code <= range[1]) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(VirtualKeyNames, NamesExactlyTheListedCodes) {
    int named = 0;
    for (unsigned int code = 0; code < VIRTUAL_KEY_COUNT; ++code) {
        ASSERT_NE(VirtualKeyNames[code], nullptr) << code;
        bool hasName = VirtualKeyNames[code][0] != u'\0';
        EXPECT_NE(hasName, IsListedUnnamed(code)) << std::hex << code;
        named += hasName ? 1 : 0;
    }
    EXPECT_EQ(named, 177);
}

TEST(VirtualKeyNames, SpellsNamesAsListed) {
    const struct {
        unsigned int code;
        const char16_t* name;
    } rows[] = {
        {0x01, u"LButton"},   {0x08, u"Backspace"},  {0x0C, u"PadCenter"},
        {0x1B, u"ESC"},       {0x2D, u"Ins"},        {0x30, u"0"},
        {0x39, u"9"},         {0x41, u"A"},          {0x5A, u"Z"},
        {0x5F, u"Sleep"},     {0x6A, u"PadMul"},     {0x6B, u"PadPlus"},
        {0x70, u"F1"},        {0x87, u"F24"},        {0x96, u"RightOYAYUBI"},
        {0xA5, u"RightMenu"}, {0xB7, u"LaunchApp2"}, {0xBA, u";"},
        {0xBB, u"="},         {0xBC, u","},          {0xBD, u"-"},
        {0xBE, u"."},         {0xBF, u"/"},          {0xC0, u"`"},
        {0xDB, u"["},         {0xDC, u"\\"},         {0xDD, u"]"},
        {0xDE, u"'"},         {0xE1, u"OEM_AX"},     {0xE7, u"PACKET"},
        {0xE9, u"OEM_RESET"}, {0xFE, u"OEM_CLEAR"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(std::u16string(VirtualKeyNames[row.code]), row.name) << std::hex << row.code;
    }
}

TEST(KeyCode, FoldsKeypadKeysIntoTheirMainKeyboardTwins) {
    const struct {
        unsigned int virtualKey;
        unsigned int expected;
    } rows[] = {
        {0x60, 0x30}, {0x65, 0x35}, {0x69, 0x39}, {0x35, 0x35}, {0x6D, 0xBD},
        {0x6E, 0xBE}, {0x6F, 0xBF}, {0x6A, 0x6A}, {0x6B, 0x6B},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(KeyCodeFromVirtualKey(row.virtualKey, NONE), row.expected) << std::hex << row.virtualKey;
    }
}

TEST(KeyCode, DropsUnnamedKeysWhateverIsHeld) {
    for (unsigned int code = 0; code < VIRTUAL_KEY_COUNT; ++code) {
        bool folded = (code >= 0x60 && code <= 0x69) || (code >= 0x6D && code <= 0x6F);
        if (!IsListedUnnamed(code) || folded) {
            continue;
        }
        EXPECT_EQ(KeyCodeFromVirtualKey(code, NONE), 0u) << std::hex << code;
        EXPECT_EQ(KeyCodeFromVirtualKey(code, ALL), 0u) << std::hex << code;
    }
    EXPECT_EQ(KeyCodeFromVirtualKey(0x6C, ALL), 0u);
}

TEST(KeyCode, UsesOnlyTheLowByte) {
    EXPECT_EQ(KeyCodeFromVirtualKey(0x1241, NONE), 0x41u);
    EXPECT_EQ(KeyCodeFromVirtualKey(0xFFFFFF65, SHIFT), 0x8035u);
    EXPECT_EQ(KeyCodeFromVirtualKey(0x100, ALL), 0u);
}

TEST(KeyCode, AddsTheBitsOfHeldModifiers) {
    const struct {
        unsigned int virtualKey;
        ModifierKeys held;
        unsigned int expected;
    } rows[] = {
        {0x41, NONE, 0x0041}, {0x10, SHIFT, 0x0010},  // Shift alone carries no Shift bit
        {0x11, CTRL, 0x0011}, {0x12, ALT, 0x0012},   {0x10, ALL, 0x6010},  {0x11, ALL, 0xC011},
        {0x12, ALL, 0xA012},  {0x09, SHIFT, 0x8009}, {0x43, CTRL, 0x2043}, {0x41, ALL, 0xE041},
        {0x73, ALT, 0x4073},  {0xA0, SHIFT, 0x80A0},  // the left and right variants keep the bits
        {0xA2, CTRL, 0x20A2}, {0xA4, ALT, 0x40A4},   {0x6E, CTRL, 0x20BE},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(KeyCodeFromVirtualKey(row.virtualKey, row.held), row.expected)
            << std::hex << row.virtualKey;
    }
}

TEST(KeyCode, ReadsNoModifierWhenNoneIsHeld) {
    // Nothing presses keys while the tests run, here or under Wine.
    ModifierKeys held = CurrentModifierKeys();
    EXPECT_FALSE(held.ctrl || held.alt || held.shift);
    EXPECT_EQ(KeyCodeFromVirtualKey(0x41), 0x41u);
    EXPECT_EQ(KeyCodeFromVirtualKey(0x6C), 0u);
}
