#include "appsvc/GdiplusApi.h"

#include "appsvc/SystemLibrary.h"

namespace {

// Written once, under the GDI+ lock, before the first start-up; read-only afterwards.
GdiplusFunctions functions;
bool loaded = false;

template <class Function>
bool LookUp(HMODULE library, const char* name, Function& slot) {
    slot = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return slot != nullptr;
}

bool LookUpAll(HMODULE library, GdiplusFunctions& table) {
    return LookUp(library, "GdiplusStartup", table.GdiplusStartup) &&
           LookUp(library, "GdiplusShutdown", table.GdiplusShutdown) &&
           LookUp(library, "GdipCreateBitmapFromStream", table.GdipCreateBitmapFromStream) &&
           LookUp(library, "GdipCreateBitmapFromFile", table.GdipCreateBitmapFromFile) &&
           LookUp(library, "GdipCreateBitmapFromScan0", table.GdipCreateBitmapFromScan0) &&
           LookUp(library, "GdipDisposeImage", table.GdipDisposeImage) &&
           LookUp(library, "GdipGetImagePixelFormat", table.GdipGetImagePixelFormat) &&
           LookUp(library, "GdipGetImageWidth", table.GdipGetImageWidth) &&
           LookUp(library, "GdipGetImageHeight", table.GdipGetImageHeight) &&
           LookUp(library, "GdipGetImagePaletteSize", table.GdipGetImagePaletteSize) &&
           LookUp(library, "GdipGetImagePalette", table.GdipGetImagePalette) &&
           LookUp(library, "GdipBitmapLockBits", table.GdipBitmapLockBits) &&
           LookUp(library, "GdipBitmapUnlockBits", table.GdipBitmapUnlockBits) &&
           LookUp(library, "GdipGetImageGraphicsContext", table.GdipGetImageGraphicsContext) &&
           LookUp(library, "GdipSetCompositingMode", table.GdipSetCompositingMode) &&
           LookUp(library, "GdipDrawImageRectI", table.GdipDrawImageRectI) &&
           LookUp(library, "GdipDeleteGraphics", table.GdipDeleteGraphics);
}

}  // namespace

const GdiplusFunctions* LoadGdiplusFunctions() {
    if (loaded) {
        return &functions;
    }
    HMODULE library = LoadSystemLibrary(L"gdiplus.dll");
    if (library == nullptr) {
        return nullptr;
    }
    GdiplusFunctions table;
    if (!LookUpAll(library, table)) {
        FreeLibrary(library);
        return nullptr;
    }
    functions = table;
    loaded = true;
    return &functions;
}

const GdiplusFunctions& GdiplusCalls() {
    return functions;
}
