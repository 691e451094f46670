#include "app/folder_input/DroppedFolder.h"

#include <string_view>

#include "app/export/filesystem/PathChecks.h"

CWString DroppedFolder(const CMStringArray& paths) {
    if (paths.GetCount() < 1) {
        return CWString();
    }
    const std::u16string_view first = paths.GetAt(0);
    if (!PathExists(first) || !IsFolder(first)) {
        return CWString();  // a file, a shortcut or a name that does not exist
    }
    return CWString(paths.GetAt(0));
}
