#include "appsvc/DibImage.h"

#include <cstring>
#include <vector>

#include "appsvc/GdiplusSession.h"

namespace {

inline constexpr Gdiplus::PixelFormat kPixelFormat16bppRgb565 = PixelFormat16bppRGB565;
static_assert(kPixelFormat16bppRgb565 == 0x00021006);

int BitsPerPixelOf(Gdiplus::PixelFormat format) {
    return static_cast<int>((format >> 8) & 0xFF);
}

struct Target {
    Gdiplus::PixelFormat format;
    int bitsPerPixel;
    int alpha;
};

Target ChooseTarget(Gdiplus::PixelFormat source) {
    if ((source & kPixelFormatAlphaFlag) != 0) {
        return {kPixelFormat32bppArgb, 32, 1};
    }
    // 5-6-5 pixels would read as 5-5-5 in a BI_RGB section, so they are redrawn like other formats
    // that GDI cannot show as they are.
    if ((source & kPixelFormatGdiFlag) != 0 && BitsPerPixelOf(source) != 32 &&
        source != kPixelFormat16bppRgb565) {
        return {source, BitsPerPixelOf(source), 0};
    }
    return {kPixelFormat24bppRgb, 24, 0};
}

bool InstallPalette(DibImage& image, Gdiplus::GpBitmap* source) {
    INT paletteBytes = 0;
    GdiplusCalls().GdipGetImagePaletteSize(source, &paletteBytes);
    if (paletteBytes < static_cast<INT>(sizeof(Gdiplus::ColorPalette))) {
        return false;
    }
    std::vector<unsigned char> buffer(static_cast<std::size_t>(paletteBytes));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    GdiplusCalls().GdipGetImagePalette(source, palette, paletteBytes);
    const UINT count = palette->Count;
    const std::size_t needed = offsetof(Gdiplus::ColorPalette, Entries) + count * sizeof(Gdiplus::ARGB);
    if (count == 0 || count > 256 || needed > buffer.size()) {
        return false;
    }
    RGBQUAD quads[256]{};
    for (UINT i = 0; i < count; ++i) {
        const Gdiplus::ARGB entry = palette->Entries[i];
        quads[i].rgbRed = static_cast<BYTE>((entry >> 16) & 0xFF);
        quads[i].rgbGreen = static_cast<BYTE>((entry >> 8) & 0xFF);
        quads[i].rgbBlue = static_cast<BYTE>(entry & 0xFF);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return false;
    }
    HGDIOBJ previous = SelectObject(dc, image.handle);
    const UINT set = SetDIBColorTable(dc, 0, count, quads);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return set == count;
}

bool CopyRows(DibImage& image, Gdiplus::GpBitmap* source, Gdiplus::PixelFormat format) {
    const Gdiplus::GpRect area(0, 0, image.width, image.height);
    Gdiplus::BitmapData locked{};
    if (GdiplusCalls().GdipBitmapLockBits(source, &area, Gdiplus::ImageLockModeRead, format, &locked) !=
        Gdiplus::Ok) {
        return false;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(image.bitsPerPixel) * image.width + 7) / 8;
    const auto* from = static_cast<const unsigned char*>(locked.Scan0);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(image.bits + static_cast<std::ptrdiff_t>(y) * image.stride,
                    from + static_cast<std::ptrdiff_t>(y) * locked.Stride, rowBytes);
    }
    GdiplusCalls().GdipBitmapUnlockBits(source, &locked);
    return true;
}

bool Redraw(DibImage& image, Gdiplus::GpBitmap* source, Gdiplus::PixelFormat format) {
    Gdiplus::GpBitmap* wrapper = nullptr;
    if (GdiplusCalls().GdipCreateBitmapFromScan0(image.width, image.height, image.stride, format, image.bits,
                                                 &wrapper) != Gdiplus::Ok) {
        return false;
    }
    Gdiplus::GpGraphics* graphics = nullptr;
    bool drawn = false;
    if (GdiplusCalls().GdipGetImageGraphicsContext(wrapper, &graphics) == Gdiplus::Ok) {
        GdiplusCalls().GdipSetCompositingMode(graphics, Gdiplus::CompositingModeSourceCopy);
        drawn = GdiplusCalls().GdipDrawImageRectI(graphics, source, 0, 0, image.width, image.height) ==
                Gdiplus::Ok;
        GdiplusCalls().GdipDeleteGraphics(graphics);
    }
    GdiplusCalls().GdipDisposeImage(wrapper);
    return drawn;
}

void Premultiply(DibImage& image) {
    for (int y = 0; y < image.height; ++y) {
        unsigned char* pixel = image.bits + static_cast<std::ptrdiff_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x, pixel += 4) {
            const int alpha = pixel[3];
            if (alpha != 255) {
                pixel[0] = static_cast<unsigned char>(MulDiv(pixel[0], alpha, 255));
                pixel[1] = static_cast<unsigned char>(MulDiv(pixel[1], alpha, 255));
                pixel[2] = static_cast<unsigned char>(MulDiv(pixel[2], alpha, 255));
            }
        }
    }
}

// Takes ownership of `bitmap`: converts it into the record and disposes it.
bool ConvertAndDispose(DibImage& image, Gdiplus::GpBitmap* bitmap) {
    const bool converted = CopyFromGdiplusImage(image, bitmap);
    GdiplusCalls().GdipDisposeImage(bitmap);
    return converted;
}

}  // namespace

void ReleaseDib(DibImage& image) {
    HBITMAP handle = image.handle;
    image = DibImage{};
    if (handle != nullptr) {
        DeleteObject(handle);
    }
}

HBITMAP DetachDib(DibImage& image) {
    HBITMAP handle = image.handle;
    image = DibImage{};
    return handle;
}

bool CreateDib(DibImage& image, int width, int height, int bitsPerPixel, int alpha) {
    ReleaseDib(image);

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];  // zero for palette formats until a palette is installed
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;

    void* bits = nullptr;
    HBITMAP handle =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (handle == nullptr) {
        return false;
    }
    image.handle = handle;

    DIBSECTION section{};
    if (GetObjectW(handle, sizeof section, &section) == static_cast<int>(sizeof section)) {
        image.described = 1;
        image.width = section.dsBm.bmWidth;
        image.height = section.dsBmih.biHeight < 0 ? -section.dsBmih.biHeight : section.dsBmih.biHeight;
        image.bitsPerPixel = section.dsBm.bmBitsPixel;
        const std::int64_t stride =
            ((static_cast<std::int64_t>(image.width) * image.bitsPerPixel + 31) / 32) * 4;
        image.stride = static_cast<int>(stride);
        image.bits = static_cast<unsigned char*>(section.dsBm.bmBits);
        if (height >= 0 && image.height > 0) {
            // Bottom-up in memory: start at the top row, which is the last one stored.
            image.bits += (static_cast<std::int64_t>(image.height) - 1) * stride;
            image.stride = -image.stride;
        }
    } else {
        BITMAP plain{};
        GetObjectW(handle, sizeof plain, &plain);
        image.described = 0;
        image.width = plain.bmWidth;
        image.height = plain.bmHeight;
        image.bitsPerPixel = plain.bmBitsPixel;
        image.stride = 0;
        image.bits = nullptr;
    }
    image.premultiplied = alpha & 1;
    return true;
}

bool CopyFromGdiplusImage(DibImage& image, Gdiplus::GpBitmap* source) {
    if (source == nullptr) {
        return false;
    }
    Gdiplus::PixelFormat format = 0;
    UINT width = 0;
    UINT height = 0;
    GdiplusCalls().GdipGetImagePixelFormat(source, &format);
    GdiplusCalls().GdipGetImageWidth(source, &width);
    GdiplusCalls().GdipGetImageHeight(source, &height);

    const Target target = ChooseTarget(format);
    if (!CreateDib(image, static_cast<int>(width), static_cast<int>(height), target.bitsPerPixel,
                   target.alpha)) {
        return false;
    }
    if (image.bits == nullptr || image.width != static_cast<int>(width) ||
        image.height != static_cast<int>(height)) {
        ReleaseDib(image);
        return false;
    }
    if ((format & kPixelFormatIndexedFlag) != 0 && !InstallPalette(image, source)) {
        ReleaseDib(image);
        return false;
    }
    // A section whose pixels could not be filled would be a blank picture passed off as the image.
    const bool filled =
        target.format == format ? CopyRows(image, source, format) : Redraw(image, source, target.format);
    if (!filled) {
        ReleaseDib(image);
        return false;
    }
    if (target.alpha != 0) {
        Premultiply(image);
    }
    return true;
}

bool DecodeImageBytes(DibImage& image, const void* bytes, std::int64_t size) {
    if (size <= 0 || bytes == nullptr) {
        return false;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
    if (memory == nullptr) {
        return false;
    }
    void* locked = GlobalLock(memory);
    if (locked == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(locked, bytes, static_cast<std::size_t>(size));
    GlobalUnlock(memory);

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, FALSE, &stream)) || stream == nullptr) {
        GlobalFree(memory);
        return false;
    }
    bool decoded = false;
    if (EnsureGdiplus()) {
        Gdiplus::GpBitmap* bitmap = nullptr;
        if (GdiplusCalls().GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok && bitmap != nullptr) {
            decoded = ConvertAndDispose(image, bitmap);
        }
    }
    stream->Release();
    GlobalFree(memory);
    return decoded;
}

bool DecodeImageFile(DibImage& image, const char16_t* path) {
    if (path == nullptr || *path == u'\0' || !EnsureGdiplus()) {
        return false;
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (GdiplusCalls().GdipCreateBitmapFromFile(reinterpret_cast<const WCHAR*>(path), &bitmap) !=
            Gdiplus::Ok ||
        bitmap == nullptr) {
        return false;
    }
    return ConvertAndDispose(image, bitmap);
}
