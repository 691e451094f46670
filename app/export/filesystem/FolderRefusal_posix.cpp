#include "app/export/filesystem/FolderRefusal.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/filesystem/SystemPath.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <string>

namespace {

bool CanReadFolderOf(std::u16string_view probe) {
    const std::size_t separator = LastSeparator(probe);
    const SystemPath folder(separator == 0 ? probe.substr(0, 1) : probe.substr(0, separator));
    const int fd = open(EncodeFileName(folder.Form()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}

}  // namespace

bool FolderRefusesNewFiles(std::u16string_view probe, FileSystemError& error) {
    const SystemPath file(probe);
    const std::string name = EncodeFileName(file.Form());
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        close(fd);
        unlink(name.c_str());
        return false;
    }
    const int code = errno;
    if ((code != EACCES && code != EPERM && code != EROFS) || !CanReadFolderOf(probe)) {
        return false;
    }
    error.code = code;
    error.operation = "open";
    error.path = std::u16string(probe);
    error.message = SystemErrorText(code);
    return true;
}
