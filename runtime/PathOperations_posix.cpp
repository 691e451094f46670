#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
#include <vector>

#include "runtime/CU8String.h"
#include "runtime/PathOperations.h"

const PathStyle& NativePathStyle() {
    return kPosixPathStyle;
}

bool GetProgramDirectory(CWString& out) {
    out.Empty();
    std::vector<char> path(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length <= 0) {
            return false;
        }
        if (static_cast<std::size_t>(length) < path.size()) {
            path[static_cast<std::size_t>(length)] = 0;
            break;
        }
        path.resize(path.size() * 2);  // possibly cut short: try again with more room
    }
    CWString full;
    full.SetUtf8(path.data());
    const std::u16string_view text(full.GetText());
    const std::size_t lastSeparator = text.rfind(u'/');
    if (lastSeparator == std::u16string_view::npos) {
        return false;
    }
    out = full.Left(static_cast<std::int64_t>(lastSeparator) + 1);
    return true;
}

bool PathExists(const char16_t* path) {
    if (path == nullptr || path[0] == 0) {
        return false;
    }
    const CU8String narrow(PathWithoutTrailingSeparator(path).GetText());
    struct stat status {};
    return stat(narrow.GetText(), &status) == 0;
}
