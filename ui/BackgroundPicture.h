#pragma once

#include "appsvc/Win32Api.h"

// The background picture of a label or container: a bitmap the window owns and the way it covers the
// client area. Deleting the object, or setting another picture, deletes the bitmap.
class BackgroundPicture {
public:
    // How the picture covers the client area: at the top left corner, stretched over it, tiled, centred.
    static inline constexpr int kTopLeft = 0;
    static inline constexpr int kStretched = 1;
    static inline constexpr int kTiled = 2;
    static inline constexpr int kCentred = 3;

    // Construction
    BackgroundPicture() = default;
    BackgroundPicture(const BackgroundPicture&) = delete;
    BackgroundPicture& operator=(const BackgroundPicture&) = delete;
    ~BackgroundPicture();

    // Attributes
    HBITMAP GetBitmap() const { return bitmap_; }
    int GetMode() const { return mode_; }
    void SetMode(int mode) { mode_ = mode; }
    // Takes ownership of `bitmap` (null removes the picture) and deletes the previous one. False when
    // `bitmap` is the picture already held.
    bool SetBitmap(HBITMAP bitmap);

    // Operations
    // Draws the picture over `client`; the device context's clipping bounds it. Stretching uses the
    // stretch mode that suits the display. A 32-bit DIB section with alpha (the image loader's pictures
    // with transparency, premultiplied) is blended over the background; other pictures are copied.
    void Draw(HDC dc, const RECT& client) const;

private:
    HBITMAP bitmap_ = nullptr;  // owned
    bool blended_ = false;      // the picture's alpha bytes are used; decided once, when it is set
    int mode_ = kTopLeft;
};
