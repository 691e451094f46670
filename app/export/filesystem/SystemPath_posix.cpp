#include "app/export/filesystem/SystemPath.h"

#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/OpenByComponents.h"

#include <fcntl.h>
#include <unistd.h>
#include <climits>
#include <string>

SystemPath::SystemPath(std::u16string_view path) : form_(path) {
    std::string raw = EncodeFileName(path);
    if (raw.size() < PATH_MAX || raw.front() != '/') {
        return;
    }
    // The folder that holds the last component, reached without ever naming its whole path; the system
    // is then given "/proc/self/fd/N/name", which any call (the library's own included) can take.
    std::size_t end = raw.size() - (raw.back() == '/' ? 1 : 0);
    std::size_t slash = raw.rfind('/', end - 1);
    folder_ = OpenByComponents(raw.substr(0, slash), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ >= 0) {
        form_ = DecodeFileName("/proc/self/fd/" + std::to_string(folder_) + "/" + raw.substr(slash + 1));
    }
}

SystemPath::~SystemPath() {
    if (folder_ >= 0) {
        close(folder_);
    }
}
