
#include <gtest/gtest.h>

#include "appsvc/CVolAppInstance.h"
#include "appsvc/DibImage.h"
#include "appsvc/GdiplusSession.h"
#include "runtime/CVolMem.h"

namespace {

inline constexpr UINT kAlphaPng = 302;
inline constexpr UINT kPaletteGif = 303;
inline constexpr UINT kPhotoJpg = 304;
inline constexpr UINT kRgb32Bmp = 305;
inline constexpr UINT kPaletteRgb = 306;
inline constexpr UINT kTextWithBom = 201;

CVolMem Resource(UINT id) {
    CVolMem bytes;
    GetAppInstance().LoadRawResource(id, bytes);
    return bytes;
}

// Decodes a resource of tests/appsvc/resources.rc; the record owns the section.
class DecodedResource {
public:
    explicit DecodedResource(UINT id) {
        CVolMem bytes = Resource(id);
        decoded = DecodeImageBytes(image, bytes.GetData(), bytes.GetSize());
    }
    ~DecodedResource() { ReleaseDib(image); }
    const unsigned char* Pixel(int x, int y) const {
        return image.bits + static_cast<std::ptrdiff_t>(y) * image.stride + x * image.bitsPerPixel / 8;
    }

    DibImage image;
    bool decoded = false;
};

DIBSECTION SectionOf(HBITMAP handle) {
    DIBSECTION section{};
    GetObjectW(handle, sizeof section, &section);
    return section;
}

}  // namespace

TEST(DibImage, HalfTransparentWhiteIsPremultipliedToMidGrey) {
    DecodedResource png(kAlphaPng);  // pixels: white at alpha 128, (10,20,30) opaque, blue at alpha 0
    ASSERT_TRUE(png.decoded);
    EXPECT_EQ(png.image.bitsPerPixel, 32);
    EXPECT_EQ(png.image.premultiplied, 1);
    EXPECT_EQ(png.image.width, 3);
    EXPECT_EQ(png.image.height, 1);
    const struct {
        int x;
        unsigned char bgra[4];
    } cases[] = {
        {0, {128, 128, 128, 128}},
        {1, {30, 20, 10, 255}},  // opaque: unchanged
        {2, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        const unsigned char* pixel = png.Pixel(c.x, 0);
        for (int channel = 0; channel < 4; ++channel) {
            EXPECT_EQ(pixel[channel], c.bgra[channel]) << "channel " << channel;
        }
    }
}

TEST(DibImage, PaletteGifBecomesAnEightBitSectionWithItsPalette) {
    DecodedResource gif(kPaletteGif);
    ASSERT_TRUE(gif.decoded);
    EXPECT_EQ(gif.image.bitsPerPixel, 8);
    EXPECT_EQ(gif.image.premultiplied, 0);

    RGBQUAD table[256]{};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, gif.image.handle);
    const UINT entries = GetDIBColorTable(dc, 0, 256, table);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ASSERT_EQ(entries, 256u);

    // Pixel i of the 16 x 16 image has colour i of pal.rgb: the index copied into the section must
    // name that colour in the installed table.
    CVolMem colours = Resource(kPaletteRgb);
    ASSERT_EQ(colours.GetSize(), 768);
    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        const RGBQUAD& entry = table[*gif.Pixel(i % 16, i / 16)];
        EXPECT_EQ(entry.rgbRed, colours.GetData()[3 * i]);
        EXPECT_EQ(entry.rgbGreen, colours.GetData()[3 * i + 1]);
        EXPECT_EQ(entry.rgbBlue, colours.GetData()[3 * i + 2]);
    }
}

TEST(DibImage, JpegStaysTwentyFourBitsWithoutAlpha) {
    DecodedResource jpeg(kPhotoJpg);  // 5 x 3 of (200, 100, 50)
    ASSERT_TRUE(jpeg.decoded);
    EXPECT_EQ(jpeg.image.bitsPerPixel, 24);
    EXPECT_EQ(jpeg.image.premultiplied, 0);
    EXPECT_EQ(jpeg.image.width, 5);
    const unsigned char* pixel = jpeg.Pixel(4, 2);
    EXPECT_NEAR(pixel[0], 50, 3);
    EXPECT_NEAR(pixel[1], 100, 3);
    EXPECT_NEAR(pixel[2], 200, 3);
}

TEST(DibImage, ThirtyTwoBitsWithoutAlphaAreRedrawnIntoTwentyFour) {
    DecodedResource bmp(kRgb32Bmp);  // 32 bits per pixel, no alpha: not a GDI section format as it is
    ASSERT_TRUE(bmp.decoded);
    EXPECT_EQ(bmp.image.bitsPerPixel, 24);
    EXPECT_EQ(bmp.image.premultiplied, 0);
    EXPECT_EQ(bmp.image.stride, -12);
    const struct {
        int x;
        int y;
        unsigned char bgr[3];
    } cases[] = {{0, 1, {1, 2, 3}}, {0, 0, {50, 100, 200}}, {3, 1, {50, 100, 200}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        const unsigned char* pixel = bmp.Pixel(c.x, c.y);
        EXPECT_EQ(pixel[0], c.bgr[0]);
        EXPECT_EQ(pixel[1], c.bgr[1]);
        EXPECT_EQ(pixel[2], c.bgr[2]);
    }
}

TEST(DibImage, BottomUpSectionHasNegativeStrideAndStartsAtTheTopRow) {
    const struct {
        int width;
        int bitsPerPixel;
        int rowBytes;
    } cases[] = {{3, 24, 12}, {1, 1, 4}, {33, 1, 8}, {5, 8, 8}, {2, 32, 8}, {3, 16, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.bitsPerPixel);
        DibImage image;
        ASSERT_TRUE(CreateDib(image, c.width, 4, c.bitsPerPixel, 0));
        const DIBSECTION section = SectionOf(image.handle);
        EXPECT_EQ(image.described, 1);
        EXPECT_EQ(image.stride, -c.rowBytes);
        // The top row of a bottom-up section is the last one in memory.
        EXPECT_EQ(image.bits, static_cast<unsigned char*>(section.dsBm.bmBits) + 3 * c.rowBytes);
        ReleaseDib(image);
    }
}

TEST(DibImage, TopDownSectionKeepsAPositiveStride) {
    DibImage image;
    ASSERT_TRUE(CreateDib(image, 3, -2, 24, 1));
    EXPECT_EQ(image.stride, 12);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.premultiplied, 1);
    EXPECT_EQ(image.bits, static_cast<unsigned char*>(SectionOf(image.handle).dsBm.bmBits));
    ReleaseDib(image);
}

TEST(DibImage, FailedCreationLeavesAnEmptyRecordAndFreesTheOldSection) {
    DibImage image;
    ASSERT_TRUE(CreateDib(image, 2, 2, 32, 1));
    HBITMAP old = image.handle;
    EXPECT_FALSE(CreateDib(image, 0, 2, 32, 1));
    EXPECT_EQ(image.handle, nullptr);
    EXPECT_EQ(image.bits, nullptr);
    EXPECT_EQ(image.premultiplied, 0);
    EXPECT_EQ(GetObjectType(old), 0u);  // deleted
}

TEST(DibImage, ReleaseDeletesAndDetachHandsOver) {
    DibImage image;
    ASSERT_TRUE(CreateDib(image, 2, 2, 24, 0));
    HBITMAP handle = DetachDib(image);
    EXPECT_EQ(image.handle, nullptr);
    EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));

    ASSERT_TRUE(CreateDib(image, 2, 2, 24, 0));
    HBITMAP released = image.handle;
    ReleaseDib(image);
    EXPECT_EQ(GetObjectType(released), 0u);
    EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
    DeleteObject(handle);
}

TEST(DibImage, ZeroBytesFailWithoutStartingGdiplus) {
    ShutdownGdiplus();
    const unsigned char bytes[4] = {0x89, 'P', 'N', 'G'};
    DibImage image;
    EXPECT_FALSE(DecodeImageBytes(image, bytes, 0));
    EXPECT_FALSE(DecodeImageBytes(image, bytes, -1));
    EXPECT_FALSE(DecodeImageBytes(image, nullptr, 16));
    EXPECT_FALSE(IsGdiplusStarted());
    EXPECT_EQ(GetAppInstance().LoadImageFromMemory(bytes, 0), nullptr);
    EXPECT_FALSE(IsGdiplusStarted());
}

TEST(DibImage, BytesThatAreNoImageFail) {
    CVolMem text = Resource(kTextWithBom);
    DibImage image;
    EXPECT_FALSE(DecodeImageBytes(image, text.GetData(), text.GetSize()));
    EXPECT_EQ(image.handle, nullptr);
    const unsigned char truncatedPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_FALSE(DecodeImageBytes(image, truncatedPng, sizeof truncatedPng));
}

TEST(DibImage, FileDecodingRefusesMissingPaths) {
    DibImage image;
    EXPECT_FALSE(DecodeImageFile(image, nullptr));
    EXPECT_FALSE(DecodeImageFile(image, u""));
    EXPECT_FALSE(DecodeImageFile(image, u"C:\\no\\such\\file.png"));
}

TEST(GdiplusSession, StartsOnceAndShutsDownCleanly) {
    ShutdownGdiplus();
    ASSERT_TRUE(EnsureGdiplus());
    const ULONG_PTR token = GetAppInstance().GetGdiplusToken();
    EXPECT_NE(token, 0u);
    EXPECT_TRUE(EnsureGdiplus());
    EXPECT_EQ(GetAppInstance().GetGdiplusToken(), token);
    ShutdownGdiplus();
    EXPECT_FALSE(IsGdiplusStarted());
    ShutdownGdiplus();  // a second shut-down does nothing
    EXPECT_EQ(GetAppInstance().GetGdiplusToken(), 0u);
}
