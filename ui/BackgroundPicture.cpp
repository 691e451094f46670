#include "ui/BackgroundPicture.h"

#include "appsvc/DisplayMetrics.h"

BackgroundPicture::~BackgroundPicture() {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

bool BackgroundPicture::SetBitmap(HBITMAP bitmap) {
    if (bitmap == bitmap_) {
        return false;
    }
    const HBITMAP previous = bitmap_;
    bitmap_ = bitmap;
    if (previous != nullptr) {
        DeleteObject(previous);
    }
    return true;
}

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
            StretchBlt(dc, client.left, client.top, clientWidth, clientHeight, source, 0, 0, width, height,
                       SRCCOPY);
            break;
        case kTiled:
            for (int y = client.top; y < client.bottom; y += height) {
                for (int x = client.left; x < client.right; x += width) {
                    BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
                }
            }
            break;
        case kCentred:
            BitBlt(dc, client.left + (clientWidth - width) / 2, client.top + (clientHeight - height) / 2,
                   width, height, source, 0, 0, SRCCOPY);
            break;
        default:
            BitBlt(dc, client.left, client.top, width, height, source, 0, 0, SRCCOPY);
            break;
    }
    SelectObject(source, previous);
    DeleteDC(source);
}
