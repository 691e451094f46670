#include "app/export/listing/DirectoryReader.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/FileTimeTicks.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/OpenByComponents.h"
#include "app/export/filesystem/SystemErrorText.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// A missing entry (it vanished after the listing saw it, or a link whose target is gone or that loops)
// has no status; it is then neither a file nor a folder rather than an error.
bool IsNotFound(int code) {
    return code == ENOENT || code == ENOTDIR || code == ELOOP;
}

}  // namespace

struct DirectoryReader::State {
    DIR* dir = nullptr;
    std::string rawFolder;
    std::u16string displayFolder;
    std::string lastRawName;
};

DirectoryReader::DirectoryReader() = default;

DirectoryReader::~DirectoryReader() {
    Close();
}

void DirectoryReader::Close() {
    if (state_ && state_->dir != nullptr) {
        closedir(state_->dir);
    }
    state_.reset();
}

void DirectoryReader::Fail(std::u16string_view path, int code) {
    error_.path = std::u16string(path);
    error_.code = code;
    error_.message = SystemErrorText(code);
}

namespace {

// Takes ownership of `fd` whatever happens.
DIR* OpenDirectoryStream(int fd) {
    if (fd < 0) {
        return nullptr;
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        int saved = errno;
        close(fd);
        errno = saved;
    }
    return dir;
}

}  // namespace

bool DirectoryReader::Open(std::u16string_view folder) {
    Close();
    error_ = FileSystemError{};
    std::string raw = EncodeFileName(folder);
    DIR* dir = OpenDirectoryStream(OpenByComponents(raw, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir == nullptr) {
        Fail(folder, errno);
        return false;
    }
    state_ = std::make_unique<State>();
    state_->dir = dir;
    state_->rawFolder = std::move(raw);
    state_->displayFolder = std::u16string(folder);
    return true;
}

bool DirectoryReader::OpenSubfolder(const DirectoryReader& parent, std::u16string_view displayPath) {
    Close();
    error_ = FileSystemError{};
    if (!parent.state_) {
        Fail(displayPath, EBADF);
        return false;
    }
    // O_NOFOLLOW: the walk goes into real folders only, even if the entry became a link meanwhile.
    int fd = openat(dirfd(parent.state_->dir), parent.state_->lastRawName.c_str(),
                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    DIR* dir = OpenDirectoryStream(fd);
    if (dir == nullptr) {
        Fail(displayPath, errno);
        return false;
    }
    state_ = std::make_unique<State>();
    state_->dir = dir;
    state_->rawFolder = parent.LastEntryRawPath();
    state_->displayFolder = std::u16string(displayPath);
    return true;
}

RawFolderPath DirectoryReader::LastEntryRawPath() const {
    if (!state_) {
        return {};
    }
    std::string path = state_->rawFolder;
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path + state_->lastRawName;
}

bool DirectoryReader::OpenRaw(const RawFolderPath& raw, std::u16string_view displayPath) {
    Close();
    error_ = FileSystemError{};
    DIR* dir = OpenDirectoryStream(OpenByComponents(raw, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dir == nullptr) {
        Fail(displayPath, errno);
        return false;
    }
    state_ = std::make_unique<State>();
    state_->dir = dir;
    state_->rawFolder = raw;
    state_->displayFolder = std::u16string(displayPath);
    return true;
}

bool DirectoryReader::Next(DirectoryEntry& entry) {
    if (!state_) {
        return false;
    }
    for (;;) {
        errno = 0;
        struct dirent* found = readdir(state_->dir);
        if (found == nullptr) {
            if (errno != 0) {
                Fail(state_->displayFolder, errno);
            }
            return false;
        }
        const char* rawName = found->d_name;
        if (std::strcmp(rawName, ".") == 0 || std::strcmp(rawName, "..") == 0) {
            continue;
        }
        state_->lastRawName = rawName;
        entry.name = DecodeUtf8Lossy(rawName);
        entry.isLink = found->d_type == DT_LNK;

        int folderFd = dirfd(state_->dir);
        // One look-up per entry: the entry's type from the listing, the rest from statx. Only where
        // the file system gives no type is the entry's own status read first, and looked up a second
        // time only when it is a link (whose target's status is wanted).
        struct statx info {};
        unsigned mask = STATX_TYPE | STATX_SIZE | STATX_BTIME | STATX_MTIME;
        int flags = AT_NO_AUTOMOUNT;
        if (found->d_type == DT_UNKNOWN) {
            if (statx(folderFd, rawName, flags | AT_SYMLINK_NOFOLLOW, mask, &info) == 0) {
                entry.isLink = S_ISLNK(info.stx_mode);
            }
        }
        bool known = found->d_type == DT_UNKNOWN && info.stx_mask != 0 && !entry.isLink;
        if (!known && statx(folderFd, rawName, flags, mask, &info) != 0) {
            int code = errno;
            if (!IsNotFound(code)) {
                Fail(JoinPath(state_->displayFolder, entry.name), code);
                error_.operation = "directory_entry::status";
                return false;
            }
            entry.kind = EntryKind::Other;
            entry.size = 0;
            entry.creationTime = 0;
            return true;
        }
        if (S_ISREG(info.stx_mode)) {
            entry.kind = EntryKind::Regular;
        } else if (S_ISDIR(info.stx_mode)) {
            entry.kind = EntryKind::Directory;
        } else {
            entry.kind = EntryKind::Other;
        }
        entry.size = static_cast<std::int64_t>(info.stx_size);
        // Not every file system records a birth time; the modification time stands in for it.
        bool hasBirth = (info.stx_mask & STATX_BTIME) != 0;
        const struct statx_timestamp& time = hasBirth ? info.stx_btime : info.stx_mtime;
        entry.creationTime = TicksFromUnixTime(time.tv_sec, time.tv_nsec);
        return true;
    }
}
