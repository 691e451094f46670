#include "ui/ControlColors.h"

namespace {

HBRUSH MakeBackgroundBrush(COLORREF color) {
    return CreateSolidBrush(ResolveColor(color, COLOR_BTNFACE));
}

}  // namespace

ControlColors::ControlColors(COLORREF text, COLORREF background, int textSystemColor)
    : text_(text),
      background_(background),
      textSystemColor_(textSystemColor),
      brush_(MakeBackgroundBrush(background)) {}

ControlColors::~ControlColors() {
    if (brush_ != nullptr) {
        DeleteObject(brush_);
    }
}

bool ControlColors::SetBackground(COLORREF color) {
    const HBRUSH brush = MakeBackgroundBrush(color);
    if (brush == nullptr) {
        return false;
    }
    background_ = color;
    const HBRUSH previous = brush_;
    brush_ = brush;
    if (previous != nullptr) {
        DeleteObject(previous);
    }
    return true;
}

LRESULT ControlColors::Answer(HDC dc) const {
    ::SetTextColor(dc, ResolveColor(text_, textSystemColor_));
    SetBkColor(dc, ResolveColor(background_, COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(brush_);
}
