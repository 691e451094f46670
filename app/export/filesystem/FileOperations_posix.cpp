#include "app/export/filesystem/FileOperations.h"

#include "app/export/filesystem/AbsolutePath.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/filesystem/SystemPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool Failed(const char* operation, std::u16string_view path, FileSystemError& error) {
    error.code = errno;
    error.operation = operation;
    error.path = std::u16string(path);
    error.message = SystemErrorText(error.code);
    return false;
}

// Makes the system write the data of the file (or the entries of the folder) at `path` to the disk.
bool FlushToDisk(const std::string& path, bool folder, const char* operation, std::u16string_view shownPath,
                 FileSystemError& error) {
    const int descriptor = open(path.c_str(), (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (descriptor < 0) {
        return Failed("open", shownPath, error);
    }
    // A file system that cannot flush a folder says so with EINVAL; its renames are then as safe as it
    // makes them.
    const bool flushed = fsync(descriptor) == 0 || (folder && errno == EINVAL);
    const int code = errno;
    close(descriptor);
    errno = code;
    return flushed || Failed(operation, shownPath, error);
}

}  // namespace

bool MoveFileOver(std::u16string_view from, std::u16string_view to, std::u16string_view, HeldFileRetry&,
                  FileSystemError& error, const PlacementSeam*) {
    // The system's forms stay valid while they are used.
    const SystemPath sourceForm(from);
    const SystemPath targetForm(to);
    std::string source = EncodeFileName(sourceForm.Form());
    std::string target = EncodeFileName(targetForm.Form());
    struct stat replaced {};
    if (stat(target.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
        // The new file takes the place of the old one: it keeps the old one's owner and mode. The owner
        // may not be given away without privilege; the mode then still applies.
        if (chown(source.c_str(), replaced.st_uid, replaced.st_gid) != 0) {
            errno = 0;
        }
        if (chmod(source.c_str(), replaced.st_mode & 07777) != 0) {
            return Failed("chmod", to, error);
        }
    }
    // As a careful save does: the new file's data on the disk, then the rename, then the folder's entry
    // on the disk. Without the first flush a power cut could leave the name holding a file of zeros
    // after the earlier workbook was already gone.
    if (!FlushToDisk(source, false, "fsync", from, error)) {
        return false;
    }
    if (std::rename(source.c_str(), target.c_str()) != 0) {
        return Failed("rename", to, error);
    }
    const SystemPath folderForm(ParentFolder(to));
    return FlushToDisk(EncodeFileName(folderForm.Form()), true, "fsync", ParentFolder(to), error);
}

bool MoveFileAcross(std::u16string_view from, std::u16string_view to, HeldFileRetry&,
                    FileSystemError& error) {
    const SystemPath sourceForm(from);
    const SystemPath targetForm(to);
    std::string source = EncodeFileName(sourceForm.Form());
    std::string target = EncodeFileName(targetForm.Form());
    if (std::rename(source.c_str(), target.c_str()) != 0) {
        return Failed("rename", to, error);
    }
    return true;
}

bool AnotherProgramMayCause(int, bool) {
    return false;
}

bool IsHeldOpenElsewhere(std::u16string_view, FileSystemError&) {
    return false;
}

bool LibraryCanTakePath(std::u16string_view path) {
    return EncodeFileName(path).size() < PATH_MAX;
}

std::u16string ShortStagingFolder() {
    return {};
}

std::u16string UsableTemporaryFolder() {
    // Where the library itself looks first.
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder != nullptr && *folder != '\0' ? folder : P_tmpdir;
    std::string probe = path + "/morvane-XXXXXX";
    int fd = mkstemp(probe.data());
    if (fd < 0) {
        return {};
    }
    close(fd);
    unlink(probe.c_str());
    return DecodeFileName(path);
}

// An open file does not keep unlink from removing its name: nothing is ever deferred.
void RemoveTemporaryFile(std::u16string_view path) {
    const SystemPath file(path);
    unlink(EncodeFileName(file.Form()).c_str());
}

std::vector<std::u16string> WaitForDeferredRemovals(std::chrono::milliseconds) {
    return {};
}

std::u16string LastSystemErrorText() {
    return errno != 0 ? SystemErrorText(errno) : std::u16string();
}

void ClearSystemError() {
    errno = 0;
}
