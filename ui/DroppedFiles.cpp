#include "ui/DroppedFiles.h"

#include <vector>

std::int64_t ReadDroppedFiles(HDROP drop, CMStringArray& paths) {
    if (drop == nullptr) {
        return 0;
    }
    std::int64_t appended = 0;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<wchar_t> name(MAX_PATH);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) {
            continue;
        }
        if (name.size() < length + 1) {
            name.resize(length + 1);
        }
        const UINT read = DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size()));
        if (read == 0) {
            continue;
        }
        name[read] = 0;
        paths.Append(reinterpret_cast<const char16_t*>(name.data()));
        ++appended;
    }
    DragFinish(drop);
    return appended;
}
