#include "app/export/filesystem/FilePath.h"

#include "app/export/filesystem/NameCoding.h"

#include <fcntl.h>
#include <unistd.h>
#include <climits>
#include <deque>
#include <mutex>
#include <string>

char16_t PathSeparator() {
    return u'/';
}

bool IsPathSeparator(char16_t unit) {
    return unit == u'/';
}

std::size_t LastSeparator(std::u16string_view path) {
    return path.rfind(u'/');
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string joined(folder);
    if (!folder.empty() && folder.back() != u'/') {
        joined += u'/';
    }
    joined += name;
    return joined;
}

bool IsRootForRecursiveWalk(std::u16string_view folder) {
    return !folder.empty() && folder.find_first_not_of(u'/') == std::u16string_view::npos;
}

namespace {

// Folders opened for long paths, newest last; a few stay open so the paths handed out keep working
// while an export uses them.
inline constexpr std::size_t kOpenFolders = 8;

struct OpenFolder {
    std::string path;
    int fd;
};

std::mutex openFoldersLock;
std::deque<OpenFolder> openFolders;

// Opens an absolute folder one component at a time, so its path may exceed PATH_MAX. -1 on failure.
int OpenByComponents(const std::string& folder) {
    int fd = open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::size_t start = 1;
    while (fd >= 0 && start < folder.size()) {
        std::size_t slash = folder.find('/', start);
        std::string part =
            folder.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        start = slash == std::string::npos ? folder.size() : slash + 1;
        if (part.empty()) {
            continue;
        }
        int next = openat(fd, part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = next;
    }
    return fd;
}

}  // namespace

std::u16string SystemPathForm(std::u16string_view path) {
    std::string raw = EncodeFileName(path);
    if (raw.size() < PATH_MAX || raw.front() != '/') {
        return std::u16string(path);
    }
    // The folder that holds the last component, reached without ever naming its whole path; the system
    // is then given "/proc/self/fd/N/name", which any call (the library's own included) can take.
    std::size_t end = raw.size() - (raw.back() == '/' ? 1 : 0);
    std::size_t slash = raw.rfind('/', end - 1);
    std::string folder = raw.substr(0, slash);
    std::string rest = raw.substr(slash + 1);
    std::lock_guard<std::mutex> guard(openFoldersLock);
    int fd = -1;
    for (const OpenFolder& open : openFolders) {
        if (open.path == folder) {
            fd = open.fd;
        }
    }
    if (fd < 0) {
        fd = OpenByComponents(folder);
        if (fd < 0) {
            return std::u16string(path);
        }
        if (openFolders.size() == kOpenFolders) {
            close(openFolders.front().fd);
            openFolders.pop_front();
        }
        openFolders.push_back(OpenFolder{folder, fd});
    }
    return DecodeFileName("/proc/self/fd/" + std::to_string(fd) + "/" + rest);
}
