#pragma once

#include <functional>
#include <ostream>
#include <vector>

#include "appsvc/Win32Api.h"

// The client area of a window as it reached the screen: the window is repainted, then its pixels are
// copied out of the window's device context. Colours are COLORREF values (0x00BBGGRR).
class WindowPixels {
public:
    using ColorTest = std::function<bool(COLORREF)>;

    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;   // exclusive
        int bottom = 0;  // exclusive
        bool IsEmpty() const { return right <= left || bottom <= top; }
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
    };

    static WindowPixels Capture(HWND window);

    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const;
    // The pixels inside `box` (clipped to the capture).
    WindowPixels Crop(const Box& box) const;
    int Count(const ColorTest& test) const;
    // The smallest box around every pixel that passes `test`.
    Box Bounds(const ColorTest& test) const;
    // Runs of consecutive rows holding a pixel that passes `test`: one per line of text.
    int RowRuns(const ColorTest& test) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;  // top row first
};

// Colour tests for text drawn with antialiasing: the pixel is mostly of one channel, or dark.
bool IsReddish(COLORREF color);
bool IsGreenish(COLORREF color);
bool IsDark(COLORREF color);
WindowPixels::ColorTest IsExactly(COLORREF expected);
WindowPixels::ColorTest IsNot(COLORREF background);

std::ostream& operator<<(std::ostream& out, const WindowPixels::Box& box);
