#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "appsvc/Win32Api.h"

#include <commctrl.h>

#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolWinApp.h"
#include "appsvc/GdiplusSession.h"
#include "runtime/BoxedValues.h"
#include "runtime/CVolMem.h"
#include "runtime/CWString.h"

namespace {

// Ids of tests/appsvc/resources.rc.
inline constexpr UINT kShortString = 101;
inline constexpr UINT kString4098 = 102;
inline constexpr UINT kString4099 = 103;
inline constexpr UINT kString9000 = 104;
inline constexpr UINT kTextWithBom = 201;
inline constexpr UINT kTextWithoutBom = 202;
inline constexpr UINT kEmptyData = 203;  // a raw resource of no bytes
inline constexpr UINT kStripPng = 301;
inline constexpr UINT kAlphaPng = 302;
inline constexpr UINT kPaletteRgb = 306;
inline constexpr UINT kMissing = 999;

std::u16string LongString(int length) {
    std::u16string text;
    for (int i = 0; i < length; ++i) {
        text.push_back(static_cast<char16_t>(u'A' + i % 26));
    }
    return text;
}

std::u16string TextOf(const CWString& text) {
    return std::u16string(text.GetText());
}

// The raw bytes of a resource written to a temporary file; the file is removed with the object.
class TempFileFromResource {
public:
    explicit TempFileFromResource(UINT id, const wchar_t* suffix) {
        wchar_t directory[MAX_PATH];
        GetTempPathW(MAX_PATH, directory);
        path_ = std::wstring(directory) + L"morvane_appsvc_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(id) + suffix;
        CVolMem bytes;
        if (!GetAppInstance().LoadRawResource(id, bytes)) {
            return;
        }
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.GetData(), static_cast<DWORD>(bytes.GetSize()), &written, nullptr);
        CloseHandle(file);
    }
    ~TempFileFromResource() { DeleteFileW(path_.c_str()); }
    const char16_t* Path() const { return reinterpret_cast<const char16_t*>(path_.c_str()); }

private:
    std::wstring path_;
};

int ImageListImageCount(HANDLE list) {
    return ImageList_GetImageCount(static_cast<HIMAGELIST>(list));
}

void ImageListSize(HANDLE list, int& width, int& height) {
    width = height = 0;
    ImageList_GetIconSize(static_cast<HIMAGELIST>(list), &width, &height);
}

}  // namespace

TEST(CVolAppInstance, StringResourcesComeBackWhole) {
    const struct {
        UINT id;
        std::u16string expected;
    } cases[] = {
        {kShortString, u"short text"},
        {kString4098, LongString(4098)},  // taken from the first load
        {kString4099, LongString(4099)},  // through the enlarging loop
        {kString9000, LongString(9000)},  // more than one enlargement
        {0, u""},
        {kMissing, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CWString out(u"left over");
        GetAppInstance().LoadStringResource(c.id, out);
        EXPECT_EQ(out.GetLength(), static_cast<std::int64_t>(c.expected.size()));
        EXPECT_EQ(TextOf(out), c.expected);
    }
}

TEST(CVolAppInstance, TextResourceDropsTheByteOrderMark) {
    for (UINT id : {kTextWithBom, kTextWithoutBom}) {
        SCOPED_TRACE(id);
        CWString out;
        ASSERT_TRUE(GetAppInstance().LoadTextResource(id, out));
        EXPECT_EQ(TextOf(out), u"Morvane 文本资源");
    }
}

TEST(CVolAppInstance, MissingTextResourceFailsAndEmptiesTheTarget) {
    CWString out(u"left over");
    EXPECT_FALSE(GetAppInstance().LoadTextResource(kMissing, out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(CVolAppInstance, ResourceDataIdZeroIsAnEmptySuccess) {
    CVolMem out;
    out.Append("abc", 3);
    EXPECT_TRUE(GetAppInstance().LoadResourceData(0, out, 10));
    EXPECT_EQ(out.GetSize(), 0);
}

TEST(CVolAppInstance, ResourceDataCopiesEveryByte) {
    CVolMem out;
    ASSERT_TRUE(GetAppInstance().LoadRawResource(kPaletteRgb, out));
    ASSERT_EQ(out.GetSize(), 768);
    // pal.rgb holds colour i as ((i * 37) & 255, (i * 91 + 7) & 255, i).
    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(out.GetData()[3 * i], (i * 37) & 255);
        EXPECT_EQ(out.GetData()[3 * i + 1], (i * 91 + 7) & 255);
        EXPECT_EQ(out.GetData()[3 * i + 2], i);
    }
}

TEST(CVolAppInstance, ResourceDataOfMissingIdWrongTypeOrNoSizeFails) {
    const struct {
        const char* what;
        UINT id;
        std::uint16_t type;
    } cases[] = {
        {"missing id", kMissing, 10},
        {"not a bitmap resource", kPaletteRgb, 2},
        {"size reads as 0", kEmptyData, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CVolMem out;
        out.Append("abc", 3);
        EXPECT_FALSE(GetAppInstance().LoadResourceData(c.id, out, c.type));
        EXPECT_EQ(out.GetSize(), 0);
    }
    CWString text(u"left over");
    EXPECT_FALSE(GetAppInstance().LoadTextResource(kEmptyData, text));
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CVolAppInstance, ImageListFromAFifteenPixelStripHasSixteenByFifteenImages) {
    HANDLE list = GetAppInstance().LoadImageResource(CVolAppInstance::kImageList, kStripPng);
    ASSERT_NE(list, nullptr);
    int width = 0;
    int height = 0;
    ImageListSize(list, width, height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 15);
    EXPECT_EQ(ImageListImageCount(list), 3);  // a 48-pixel strip
    ImageList_Destroy(static_cast<HIMAGELIST>(list));
}

TEST(CVolAppInstance, BitmapResourceDecodesTheStoredImageFile) {
    HANDLE bitmap = GetAppInstance().LoadImageResource(CVolAppInstance::kImageBitmap, kStripPng);
    ASSERT_NE(bitmap, nullptr);
    BITMAP description{};
    ASSERT_NE(GetObjectW(bitmap, sizeof description, &description), 0);
    EXPECT_EQ(description.bmWidth, 48);
    EXPECT_EQ(description.bmHeight, 15);
    DeleteObject(bitmap);
}

TEST(CVolAppInstance, ImageResourcesThatCannotBeMadeAreNull) {
    CVolAppInstance& instance = GetAppInstance();
    EXPECT_EQ(instance.LoadImageResource(CVolAppInstance::kImageBitmap, kMissing), nullptr);
    EXPECT_EQ(instance.LoadImageResource(CVolAppInstance::kImageList, kTextWithBom),
              nullptr);  // not an image
    EXPECT_EQ(instance.LoadImageResource(CVolAppInstance::kImageCursor, kMissing), nullptr);
    EXPECT_EQ(instance.LoadImageResource(CVolAppInstance::kImageIcon, kMissing), nullptr);
    EXPECT_EQ(instance.LoadImageResource(4, kStripPng), nullptr);
}

TEST(CVolAppInstance, ImageFilesDecodeToBitmapsAndImageLists) {
    TempFileFromResource alpha(kAlphaPng, L".png");
    TempFileFromResource strip(kStripPng, L".png");
    CVolAppInstance& instance = GetAppInstance();

    HANDLE bitmap = instance.LoadImageFile(CVolAppInstance::kImageBitmap, alpha.Path());
    ASSERT_NE(bitmap, nullptr);
    BITMAP description{};
    GetObjectW(bitmap, sizeof description, &description);
    EXPECT_EQ(description.bmWidth, 3);
    EXPECT_EQ(description.bmBitsPixel, 32);
    DeleteObject(bitmap);

    HANDLE list = instance.LoadImageFile(CVolAppInstance::kImageList, strip.Path());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageListImageCount(list), 3);
    ImageList_Destroy(static_cast<HIMAGELIST>(list));
}

TEST(CVolAppInstance, ImageFilesThatCannotBeReadAreNull) {
    CVolAppInstance& instance = GetAppInstance();
    EXPECT_EQ(instance.LoadImageFile(CVolAppInstance::kImageBitmap, nullptr), nullptr);
    EXPECT_EQ(instance.LoadImageFile(CVolAppInstance::kImageBitmap, u""), nullptr);
    EXPECT_EQ(instance.LoadImageFile(CVolAppInstance::kImageBitmap, u"C:\\no\\such\\image.png"), nullptr);
    EXPECT_EQ(instance.LoadImageFile(CVolAppInstance::kImageIcon, u"C:\\no\\such\\icon.ico"), nullptr);
    EXPECT_EQ(instance.LoadImageFile(9, u"C:\\no\\such\\image.png"), nullptr);
}

TEST(CVolAppInstance, InstanceHandleFallsBackToTheProgramsOwnModule) {
    CVolAppInstance& instance = GetAppInstance();
    const HINSTANCE stored = instance.GetStoredInstanceHandle();
    instance.SetInstanceHandle(nullptr);
    EXPECT_EQ(instance.GetInstanceHandle(), GetModuleHandleW(nullptr));
    const auto other = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x10000));
    instance.SetInstanceHandle(other);
    EXPECT_EQ(instance.GetInstanceHandle(), other);
    instance.SetInstanceHandle(stored);
}

TEST(CVolAppInstance, ScaleNeverFallsBelowOne) {
    CVolAppInstance& instance = GetAppInstance();
    const double saved = instance.GetScale();
    const struct {
        double given;
        double stored;
    } cases[] = {{1.5, 1.5}, {0.75, 1.0}, {-2.0, 1.0}, {std::numeric_limits<double>::quiet_NaN(), 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        instance.SetScale(c.given);
        EXPECT_EQ(instance.GetScale(), c.stored);
    }
    instance.SetScale(saved);
}

TEST(CVolAppInstance, ShutDownEmptiesEverythingItOwns) {
    class CountingWorker : public PooledWorker {
    public:
        explicit CountingWorker(int& releases) : releases_(releases) {}
        void Release() override { ++releases_; }

    private:
        int& releases_;
    };
    CVolAppInstance& instance = GetAppInstance();
    int releases = 0;
    CountingWorker worker(releases);
    instance.GetWorkerPool().Add(&worker);
    new CVolWinApp;  // becomes the current application object
    instance.GetRetainedObjects().Add(new CVolMem);
    const bool loadedBefore = GetModuleHandleW(L"hid.dll") != nullptr;
    HMODULE library = LoadLibraryW(L"hid.dll");
    ASSERT_NE(library, nullptr);
    instance.AddLoadedModule(library);
    ASSERT_TRUE(EnsureGdiplus());

    instance.ShutDown();
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(instance.GetWorkerPool().GetCount(), 0);
    EXPECT_EQ(instance.GetCurrentApp(), nullptr);
    EXPECT_EQ(instance.GetRetainedObjects().GetCount(), 0);
    EXPECT_EQ(instance.GetLoadedModuleCount(), 0);
    EXPECT_EQ(GetModuleHandleW(L"hid.dll") != nullptr, loadedBefore);  // released with FreeLibrary
    EXPECT_FALSE(IsGdiplusStarted());

    instance.ShutDown();  // a second run finds nothing to do
    EXPECT_EQ(releases, 1);
}

TEST(CVolUserApp, MostRecentlyConstructedObjectIsTheCurrentOne) {
    CVolAppInstance& instance = GetAppInstance();
    CVolUserApp* first = new CVolUserApp;
    EXPECT_EQ(instance.GetCurrentApp(), first);
    CVolWinApp* second = new CVolWinApp;
    EXPECT_EQ(instance.GetCurrentApp(), second);

    CVolObject* made = second->CreateNew();
    EXPECT_EQ(instance.GetCurrentApp(), made);
    CVolObject* clone = first->Clone();
    EXPECT_EQ(instance.GetCurrentApp(), clone);

    clone->Destroy();  // destroying the current object leaves no dangling entry
    EXPECT_EQ(instance.GetCurrentApp(), nullptr);
    made->Destroy();
    second->Destroy();
    first->Destroy();
}

TEST(CVolUserApp, DestroyingAnotherObjectKeepsTheCurrentOne) {
    CVolAppInstance& instance = GetAppInstance();
    CVolUserApp* older = new CVolUserApp;
    CVolUserApp* current = new CVolUserApp;
    older->Destroy();
    EXPECT_EQ(instance.GetCurrentApp(), current);
    current->Destroy();
}

TEST(CVolUserApp, ClassChainOfTheApplicationClasses) {
    CVolWinApp app;
    EXPECT_TRUE(app.IsKindOf(CVolWinApp::ClassInfo()));
    EXPECT_TRUE(app.IsKindOf(CVolBaseApp::ClassInfo()));
    EXPECT_TRUE(app.IsKindOf(CVolUserApp::ClassInfo()));
    EXPECT_TRUE(app.IsKindOf(CVolObject::ClassInfo()));
    EXPECT_FALSE(app.IsKindOf(CVolMem::ClassInfo()));
    CVolUserApp user;
    EXPECT_FALSE(user.IsKindOf(CVolWinApp::ClassInfo()));
    EXPECT_STREQ(app.GetClassInfo().GetName(), "CVolWinApp");
}

TEST(CVolBaseApp, ClassTableListsTheNineBoxedValueClassesInOrder) {
    const CVolClassInfo* expected[] = {
        &vol::CVolByteValue::ClassInfo(),    &vol::CVolShortValue::ClassInfo(),
        &vol::CVolCharValue::ClassInfo(),    &vol::CVolIntValue::ClassInfo(),
        &vol::CVolIntAltValue::ClassInfo(),  &vol::CVolLongValue::ClassInfo(),
        &vol::CVolLongAltValue::ClassInfo(), &vol::CVolFloatValue::ClassInfo(),
        &vol::CVolDoubleValue::ClassInfo(),
    };
    CVolBaseApp app;
    const CVolClassInfo* const* table = app.GetClassTable();
    ASSERT_NE(table, nullptr);
    for (int i = 0; i < CVolBaseApp::kClassTableSize; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table[i], expected[i]);
    }
    EXPECT_EQ(CVolWinApp().GetClassTable(), table);  // one table for every application object
    EXPECT_EQ(CVolUserApp().GetClassTable(), nullptr);
}
