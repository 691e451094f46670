#include "app/export/filesystem/OpenByComponents.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

namespace {

inline constexpr int kFolderStep = O_PATH | O_DIRECTORY | O_CLOEXEC;

// Gives up `folder` for `next`, keeping the errno of the call that made `next`.
int StepTo(int folder, int next) {
    int saved = errno;
    if (folder != AT_FDCWD) {
        close(folder);
    }
    errno = saved;
    return next;
}

}  // namespace

int OpenByComponents(const std::string& path, int flags) {
    // Trailing slashes name the same entry; without any other character the path is the root.
    std::size_t end = path.find_last_not_of('/') + 1;
    if (path.size() < PATH_MAX || end == 0) {
        return open(path.c_str(), flags);
    }
    std::size_t slash = path.rfind('/', end - 1);
    std::size_t last = slash == std::string::npos ? 0 : slash + 1;
    int folder = path.front() == '/' ? open("/", kFolderStep) : AT_FDCWD;
    std::size_t start = path.front() == '/' ? 1 : 0;
    while (folder >= 0 || folder == AT_FDCWD) {
        if (start >= last) {
            return StepTo(folder, openat(folder, path.substr(last, end - last).c_str(), flags));
        }
        std::size_t next = path.find('/', start);
        std::string part = path.substr(start, next - start);
        start = next + 1;
        if (!part.empty()) {
            folder = StepTo(folder, openat(folder, part.c_str(), kFolderStep));
        }
    }
    return -1;
}
