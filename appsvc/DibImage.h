#pragma once

#include <cstdint>

#include "appsvc/GdiplusApi.h"

// A decoded image as a plain DIB section: `bits` points at the top row and `stride` steps one row
// down, so it is negative for the bottom-up sections made here. A record owns its handle;
// ReleaseDib deletes it, DetachDib hands it to the caller.
struct DibImage {
    HBITMAP handle = nullptr;
    unsigned char* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    int bitsPerPixel = 0;
    int premultiplied = 0;  // 1: colour multiplied by alpha
    int described = 0;      // 1: geometry read back from the section itself
};

// GDI+ pixel formats and flags the conversion distinguishes.
inline constexpr Gdiplus::PixelFormat kPixelFormatIndexedFlag = PixelFormatIndexed;
inline constexpr Gdiplus::PixelFormat kPixelFormatGdiFlag = PixelFormatGDI;
inline constexpr Gdiplus::PixelFormat kPixelFormatAlphaFlag = PixelFormatAlpha;
inline constexpr Gdiplus::PixelFormat kPixelFormat24bppRgb = PixelFormat24bppRGB;
inline constexpr Gdiplus::PixelFormat kPixelFormat32bppArgb = PixelFormat32bppARGB;
static_assert(kPixelFormatIndexedFlag == 0x00010000 && kPixelFormatGdiFlag == 0x00020000 &&
              kPixelFormatAlphaFlag == 0x00040000);
static_assert(kPixelFormat24bppRgb == 0x00021808 && kPixelFormat32bppArgb == 0x0026200A);

// Deletes the handle (if any) and clears the record.
void ReleaseDib(DibImage& image);

// Clears the record and returns its handle, which the caller then owns.
HBITMAP DetachDib(DibImage& image);

// Replaces the record's content by a new DIB section; a positive height makes it bottom-up. `alpha`
// bit 0 marks the pixels as premultiplied. False (record empty) when the section cannot be made.
bool CreateDib(DibImage& image, int width, int height, int bitsPerPixel, int alpha);

// Converts a decoded GDI+ bitmap into the record: alpha formats become 32-bit premultiplied,
// GDI-compatible formats below 32 bits (palettes included) are copied as they are, everything else
// is drawn into 24 bits. False when the section cannot be made or the pixels cannot be read.
bool CopyFromGdiplusImage(DibImage& image, Gdiplus::GpBitmap* source);

// Decodes encoded image bytes (any format GDI+ reads) into the record. Zero bytes fail at once,
// without starting GDI+.
bool DecodeImageBytes(DibImage& image, const void* bytes, std::int64_t size);

// Decodes an image file into the record; a null or empty path fails.
bool DecodeImageFile(DibImage& image, const char16_t* path);
