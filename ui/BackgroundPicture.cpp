#include "ui/BackgroundPicture.h"

#include "appsvc/DisplayMetrics.h"

BackgroundPicture::~BackgroundPicture() {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

namespace {

// True for a 32-bit DIB section whose alpha bytes say anything: the image loader's pictures with
// transparency. Pictures drawn with GDI leave every alpha byte 0 and are opaque all the same.
bool CarriesAlpha(HBITMAP bitmap) {
    DIBSECTION section{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) ||
        section.dsBm.bmBitsPixel != 32 || section.dsBm.bmBits == nullptr) {
        return false;
    }
    GdiFlush();  // GDI may still owe drawing into the section
    const auto* row = static_cast<const BYTE*>(section.dsBm.bmBits);
    for (LONG y = 0; y < section.dsBm.bmHeight; ++y, row += section.dsBm.bmWidthBytes) {
        for (LONG x = 0; x < section.dsBm.bmWidth; ++x) {
            if (row[x * 4 + 3] != 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool BackgroundPicture::SetBitmap(HBITMAP bitmap) {
    if (bitmap == bitmap_) {
        return false;
    }
    const HBITMAP previous = bitmap_;
    bitmap_ = bitmap;
    blended_ = CarriesAlpha(bitmap);
    if (previous != nullptr) {
        DeleteObject(previous);
    }
    return true;
}

namespace {

// Copies the whole of `source` (width × height) into the target rectangle. A picture with alpha holds
// premultiplied colour, so it is blended over what is already drawn; copying it would paint its
// transparent parts black. GdiAlphaBlend is gdi32's own, so no further library is needed.
void CopyPicture(HDC dc, int x, int y, int targetWidth, int targetHeight, HDC source, int width, int height,
                 bool alpha) {
    if (alpha) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, x, y, targetWidth, targetHeight, source, 0, 0, width, height, blend);
    } else if (targetWidth == width && targetHeight == height) {
        BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    } else {
        StretchBlt(dc, x, y, targetWidth, targetHeight, source, 0, 0, width, height, SRCCOPY);
    }
}

}  // namespace

void BackgroundPicture::Draw(HDC dc, const RECT& client) const {
    BITMAP bitmap{};
    if (bitmap_ == nullptr || GetObjectW(bitmap_, sizeof(bitmap), &bitmap) == 0 || bitmap.bmWidth <= 0 ||
        bitmap.bmHeight <= 0) {
        return;
    }
    const HDC source = CreateCompatibleDC(dc);
    if (source == nullptr) {
        return;
    }
    const HGDIOBJ previous = SelectObject(source, bitmap_);
    const int width = bitmap.bmWidth;
    const int height = bitmap.bmHeight;
    const int clientWidth = client.right - client.left;
    const int clientHeight = client.bottom - client.top;
    switch (mode_) {
        case kStretched:
            SetStretchBltMode(dc, StretchModeForDisplay());
            CopyPicture(dc, client.left, client.top, clientWidth, clientHeight, source, width, height,
                        blended_);
            break;
        case kTiled:
            for (int y = client.top; y < client.bottom; y += height) {
                for (int x = client.left; x < client.right; x += width) {
                    CopyPicture(dc, x, y, width, height, source, width, height, blended_);
                }
            }
            break;
        case kCentred:
            CopyPicture(dc, client.left + (clientWidth - width) / 2, client.top + (clientHeight - height) / 2,
                        width, height, source, width, height, blended_);
            break;
        default:
            CopyPicture(dc, client.left, client.top, width, height, source, width, height, blended_);
            break;
    }
    SelectObject(source, previous);
    DeleteDC(source);
}
