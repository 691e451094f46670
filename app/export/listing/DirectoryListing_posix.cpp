#include "app/export/listing/DirectoryListing.h"

#include "app/export/filesystem/FileTimeTicks.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/OpenByComponents.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace {

class PosixListing : public DirectoryListing {
public:
    explicit PosixListing(DIR* dir) : dir_(dir) {}
    ~PosixListing() override { closedir(dir_); }
    PosixListing(const PosixListing&) = delete;
    PosixListing& operator=(const PosixListing&) = delete;

    bool Next(RawFolderPath& name, bool& isLink, int& code) override {
        errno = 0;
        struct dirent* found = readdir(dir_);
        if (found == nullptr) {
            code = errno;
            return false;
        }
        name = found->d_name;
        type_ = found->d_type;
        isLink = type_ == DT_LNK;
        return true;
    }

    int Status(const RawFolderPath& name, bool& isLink, EntryStatus& status) override;

private:
    DIR* dir_;
    unsigned char type_ = DT_UNKNOWN;
};

// One look-up per entry: the entry's type from the listing, the rest from statx. Only where the file
// system gives no type is the entry's own status read first, and looked up a second time only when it
// is a link (whose target's status is wanted).
int PosixListing::Status(const RawFolderPath& name, bool& isLink, EntryStatus& status) {
    int folder = dirfd(dir_);
    struct statx info {};
    unsigned mask = STATX_TYPE | STATX_SIZE | STATX_BTIME | STATX_MTIME;
    int flags = AT_NO_AUTOMOUNT;
    if (type_ == DT_UNKNOWN) {
        if (statx(folder, name.c_str(), flags | AT_SYMLINK_NOFOLLOW, mask, &info) == 0) {
            isLink = S_ISLNK(info.stx_mode);
        }
    }
    bool known = type_ == DT_UNKNOWN && info.stx_mask != 0 && !isLink;
    if (!known && statx(folder, name.c_str(), flags, mask, &info) != 0) {
        return errno;
    }
    status.regular = S_ISREG(info.stx_mode);
    status.directory = S_ISDIR(info.stx_mode);
    status.size = static_cast<std::int64_t>(info.stx_size);
    if ((info.stx_mask & STATX_BTIME) != 0) {
        status.birthTime = TicksFromUnixTime(info.stx_btime.tv_sec, info.stx_btime.tv_nsec);
    }
    status.modificationTime = TicksFromUnixTime(info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec);
    return 0;
}

}  // namespace

std::unique_ptr<DirectoryListing> DirectoryListing::Open(const RawFolderPath& raw, bool followLink,
                                                         int& code) {
    int fd = OpenByComponents(raw, O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        code = errno;
        if (fd >= 0) {
            close(fd);
        }
        return nullptr;
    }
    return std::make_unique<PosixListing>(dir);
}

RawFolderPath RawPathOf(std::u16string_view folder) {
    return EncodeFileName(folder);
}

RawFolderPath JoinRawPath(const RawFolderPath& folder, const RawFolderPath& name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path + name;
}

std::u16string EntryNameText(const RawFolderPath& name) {
    return DecodeUtf8Lossy(name);
}

std::u16string ErrorPathText(std::u16string_view path) {
    return std::u16string(path);
}
