#pragma once

#include <cstddef>

inline constexpr std::size_t VIRTUAL_KEY_COUNT = 256;

// The name of every virtual-key code the runtime knows, indexed by code; "" where it knows none. Only
// the emptiness decides anything today (unnamed keys produce no key code); the names are kept for a
// key-name display.
extern const char16_t* const VirtualKeyNames[VIRTUAL_KEY_COUNT];
