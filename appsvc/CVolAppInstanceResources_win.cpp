// The resource and image loaders of the application instance (virtual slots 0 to 8).
#include "appsvc/CVolAppInstance.h"

#include <vector>

#include "appsvc/DibImage.h"
#include "appsvc/ImageListFromStrip.h"

namespace {

// Any function of this module serves as the address VirtualQuery looks up.
void OwnCodeMarker() {}

const wchar_t* ResourceId(UINT id) {
    return MAKEINTRESOURCEW(id & 0xFFFF);
}

HANDLE BitmapOrImageList(int kind, HBITMAP bitmap) {
    if (bitmap == nullptr) {
        return nullptr;
    }
    return kind == CVolAppInstance::kImageList ? static_cast<HANDLE>(ImageListFromStrip(bitmap))
                                               : static_cast<HANDLE>(bitmap);
}

}  // namespace

HINSTANCE CVolAppInstance::GetInstanceHandle() const {
    if (instanceHandle_ != nullptr) {
        return instanceHandle_;
    }
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(reinterpret_cast<const void*>(&OwnCodeMarker), &info, sizeof info) == 0) {
        return nullptr;
    }
    return static_cast<HINSTANCE>(info.AllocationBase);
}

void* CVolAppInstance::GetReservedSlot() const {
    return nullptr;
}

void CVolAppInstance::LoadStringResource(UINT id, CWString& out) const {
    out.Empty();
    if (id == 0) {
        return;
    }
    const HINSTANCE module = GetInstanceHandle();
    std::vector<char16_t> buffer(kStringChunk);
    int loaded = LoadStringW(module, id, reinterpret_cast<LPWSTR>(buffer.data()), kStringChunk);
    if (loaded <= 0) {
        return;
    }
    // A result that fills the buffer may have been cut: grow and load again until it fits.
    while (loaded > kLongestUncutString && loaded >= static_cast<int>(buffer.size()) - 1) {
        buffer.resize(buffer.size() + kStringChunk);
        loaded =
            LoadStringW(module, id, reinterpret_cast<LPWSTR>(buffer.data()), static_cast<int>(buffer.size()));
        if (loaded <= 0) {
            return;
        }
    }
    out.SetUnits(buffer.data(), loaded);
}

HANDLE CVolAppInstance::LoadImageResource(int kind, UINT id) const {
    const HINSTANCE module = GetInstanceHandle();
    switch (kind) {
        case kImageBitmap:
        case kImageList: {
            // Images are kept as encoded files in raw-data resources, not as bitmap resources.
            HRSRC found = FindResourceW(module, ResourceId(id), MAKEINTRESOURCEW(10));
            HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
            const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
            if (bytes == nullptr) {
                return nullptr;
            }
            HBITMAP bitmap = LoadImageFromMemory(bytes, SizeofResource(module, found));
            FreeResource(loaded);
            return BitmapOrImageList(kind, bitmap);
        }
        case kImageCursor:
            return LoadCursorW(module, ResourceId(id));
        case kImageIcon:
            return LoadIconW(module, ResourceId(id));
        default:
            return nullptr;
    }
}

HANDLE CVolAppInstance::LoadImageFile(int kind, const char16_t* path) const {
    if (path == nullptr || *path == u'\0') {
        return nullptr;
    }
    switch (kind) {
        case kImageBitmap:
        case kImageList: {
            DibImage image;
            if (!DecodeImageFile(image, path)) {
                return nullptr;
            }
            return BitmapOrImageList(kind, DetachDib(image));
        }
        case kImageCursor:
            return LoadImageW(nullptr, reinterpret_cast<LPCWSTR>(path), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
        case kImageIcon:
            return LoadImageW(nullptr, reinterpret_cast<LPCWSTR>(path), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
        default:
            return nullptr;
    }
}

HBITMAP CVolAppInstance::LoadImageFromMemory(const void* bytes, std::int64_t size) const {
    DibImage image;
    if (!DecodeImageBytes(image, bytes, size)) {
        return nullptr;
    }
    return DetachDib(image);
}

bool CVolAppInstance::LoadResourceData(UINT id, CVolMem& out, std::uint16_t type) const {
    out.Empty();
    if (id == 0) {
        return true;
    }
    const HINSTANCE module = GetInstanceHandle();
    HRSRC found = FindResourceW(module, ResourceId(id), MAKEINTRESOURCEW(type));
    if (found == nullptr) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) {
        return false;
    }
    const void* bytes = LockResource(loaded);
    // SizeofResource answers 0 when it fails; that cannot be told apart from no data, so both fail.
    const DWORD size = bytes != nullptr ? SizeofResource(module, found) : 0;
    if (size == 0) {
        FreeResource(loaded);
        return false;
    }
    out.Append(bytes, size);
    FreeResource(loaded);
    return true;
}

bool CVolAppInstance::LoadTextResource(UINT id, CWString& out) const {
    out.Empty();
    CVolMem raw;
    if (!LoadRawResource(id, raw)) {
        return false;
    }
    // Terminates the text whatever its length, odd byte counts included.
    static constexpr unsigned char kTerminator[4] = {};
    raw.Append(kTerminator, sizeof kTerminator);
    const auto* text = reinterpret_cast<const char16_t*>(raw.GetData());
    if (*text == 0xFEFF) {
        ++text;
    }
    out.SetText(text);
    return true;
}

bool CVolAppInstance::LoadRawResource(UINT id, CVolMem& out) const {
    return LoadResourceData(id, out, 10);  // RT_RCDATA
}
