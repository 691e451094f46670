#pragma once

#include "appsvc/Win32Api.h"

#include "ui/SystemColor.h"

// The colours a subclassed system control answers to the reflected WM_CTLCOLOR* messages: a text
// colour, a background colour and the solid brush of that background. SYSTEM_COLOR stands for the
// system's colour: `textSystemColor` for the text, COLOR_BTNFACE for the background.
// The object owns the brush; it is deleted with the object or when the background changes.
class ControlColors {
public:
    // Construction
    ControlColors(COLORREF text, COLORREF background, int textSystemColor);
    ControlColors(const ControlColors&) = delete;
    ControlColors& operator=(const ControlColors&) = delete;
    ~ControlColors();

    // Attributes
    COLORREF GetText() const { return text_; }
    void SetText(COLORREF color) { text_ = color; }
    COLORREF GetBackground() const { return background_; }
    HBRUSH GetBrush() const { return brush_; }
    // False, and nothing changed, when the new brush cannot be made.
    bool SetBackground(COLORREF color);

    // Operations
    // Sets the device context's text and background colours; the result is the brush to answer.
    LRESULT Answer(HDC dc) const;

private:
    COLORREF text_;
    COLORREF background_;
    int textSystemColor_;
    HBRUSH brush_;
};
