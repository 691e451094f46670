#include "WindowPixels.h"

#include <algorithm>

WindowPixels WindowPixels::Capture(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    WindowPixels result;
    RECT client{};
    GetClientRect(window, &client);
    result.width_ = client.right;
    result.height_ = client.bottom;
    if (result.width_ <= 0 || result.height_ <= 0) {
        return result;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = result.width_;
    info.bmiHeader.biHeight = -result.height_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC windowDc = GetDC(window);
    const HDC memoryDc = CreateCompatibleDC(windowDc);
    const HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memoryDc, section);
    BitBlt(memoryDc, 0, 0, result.width_, result.height_, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    result.pixels_.reserve(static_cast<std::size_t>(result.width_) * result.height_);
    for (int i = 0; i < result.width_ * result.height_; ++i) {
        result.pixels_.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    }
    SelectObject(memoryDc, previous);
    DeleteObject(section);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return result;
}

COLORREF WindowPixels::At(int x, int y) const {
    return pixels_.at(static_cast<std::size_t>(y) * width_ + x);
}

WindowPixels WindowPixels::Crop(const Box& box) const {
    WindowPixels result;
    const int left = std::clamp(box.left, 0, width_);
    const int top = std::clamp(box.top, 0, height_);
    result.width_ = std::max(std::clamp(box.right, 0, width_) - left, 0);
    result.height_ = std::max(std::clamp(box.bottom, 0, height_) - top, 0);
    for (int y = 0; y < result.height_; ++y) {
        for (int x = 0; x < result.width_; ++x) {
            result.pixels_.push_back(At(left + x, top + y));
        }
    }
    return result;
}

int WindowPixels::Count(const ColorTest& test) const {
    int count = 0;
    for (const COLORREF color : pixels_) {
        count += test(color) ? 1 : 0;
    }
    return count;
}

WindowPixels::Box WindowPixels::Bounds(const ColorTest& test) const {
    Box box{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (test(At(x, y))) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    return box.right == 0 ? Box{} : box;
}

int WindowPixels::RowRuns(const ColorTest& test) const {
    int runs = 0;
    bool previousRow = false;
    for (int y = 0; y < height_; ++y) {
        bool row = false;
        for (int x = 0; x < width_ && !row; ++x) {
            row = test(At(x, y));
        }
        if (row && !previousRow) {
            ++runs;
        }
        previousRow = row;
    }
    return runs;
}

bool IsReddish(COLORREF color) {
    return GetRValue(color) >= 160 && GetGValue(color) <= 96 && GetBValue(color) <= 96;
}

bool IsGreenish(COLORREF color) {
    return GetGValue(color) >= 160 && GetRValue(color) <= 96 && GetBValue(color) <= 96;
}

bool IsDark(COLORREF color) {
    return GetRValue(color) <= 96 && GetGValue(color) <= 96 && GetBValue(color) <= 96;
}

WindowPixels::ColorTest IsExactly(COLORREF expected) {
    return [expected](COLORREF color) { return color == expected; };
}

WindowPixels::ColorTest IsNot(COLORREF background) {
    return [background](COLORREF color) { return color != background; };
}

std::ostream& operator<<(std::ostream& out, const WindowPixels::Box& box) {
    return out << "{" << box.left << ", " << box.top << ", " << box.right << ", " << box.bottom << "}";
}
