#include "appsvc/ImageListFromStrip.h"

namespace {
inline constexpr COLORREF kMaskColour = RGB(255, 0, 255);  // magenta
}  // namespace

HIMAGELIST ImageListFromStrip(HBITMAP strip) {
    if (strip == nullptr) {
        return nullptr;
    }
    BITMAP description{};
    const int height = GetObjectW(strip, sizeof description, &description) != 0
                           ? (description.bmHeight < 0 ? -description.bmHeight : description.bmHeight)
                           : 0;
    HIMAGELIST list = nullptr;
    if (height > 0) {
        const int width = height + (height & 1);
        list = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 1);
        if (list != nullptr && ImageList_AddMasked(list, strip, kMaskColour) == -1) {
            ImageList_Destroy(list);
            list = nullptr;
        }
    }
    DeleteObject(strip);
    return list;
}
