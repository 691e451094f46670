#pragma once

#include <cstdint>
#include <limits>

#include "appsvc/Win32Api.h"

class CRefVolMenu;
class CVolWinControl;

// The creation record handed to CreateControl. The caller fills parent, owner, position, size, id and
// layer and zeroes the rest; PrepareCreateInfo fills style, ex style, text and font. Positions are
// already scaled for the display.
struct ControlCreateInfo {
    // Position or size chosen by the framework (forms only).
    static inline constexpr std::int32_t kDefault = std::numeric_limits<std::int32_t>::min();
    // Layer of a window shown on every page of its container.
    static inline constexpr std::int32_t kAllPages = -1;

    HWND parent = nullptr;            // 0 for a top-level form
    CVolWinControl* owner = nullptr;  // handed to the Created event; null when parent is 0
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t id = 0;             // child-window identifier
    std::int32_t layer = kAllPages;  // page inside the container
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    const char16_t* text = nullptr;
    CRefVolMenu* menu = nullptr;   // menu of a top-level form
    std::int32_t modal = 0;        // forms: non-zero shows the form modally
    std::int32_t dialogFrame = 0;  // forms, with modal: fixed dialog frame
    std::int32_t modalResult = 0;  // forms: receives the result of the modal loop
    HFONT font = nullptr;
};
