#pragma once

#include <cstdint>

// The user-data mark of every framework window, and the signature carried in lParam by the
// framework's private window messages (decimal 19731115).
inline constexpr std::intptr_t FRAMEWORK_MAGIC = 0x12D12AB;

// Private window messages of the framework. Each one takes lParam = FRAMEWORK_MAGIC; a window that
// acts on it answers FRAMEWORK_MAGIC.
inline constexpr std::uint32_t VM_REMOVEFILTER = 0x9FFA;  // wParam: IWindowProcFilter*
inline constexpr std::uint32_t VM_ADDFILTER = 0x9FFB;     // wParam: IWindowProcFilter*
inline constexpr std::uint32_t VM_PRETRANSLATE = 0x9FFF;  // wParam: MSG* offered by the message loop
