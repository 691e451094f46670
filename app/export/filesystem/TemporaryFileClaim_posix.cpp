#include "app/export/filesystem/TemporaryFileClaim.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemPath.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>
#include <vector>

TemporaryFileClaim::TemporaryFileClaim(std::u16string_view path) {
    const SystemPath file(path);
    // The mode the library would give the file it makes; O_EXCL is not wanted: the name was chosen free.
    descriptor_ =
        open(EncodeFileName(file.Form()).c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor_ >= 0 && flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor_);
        descriptor_ = -1;
    }
}

TemporaryFileClaim::~TemporaryFileClaim() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

namespace {

// Removes the file unless another export holds its lock; the lock taken here is held until the name
// is gone, so no export can claim the file in between.
bool RemoveIfUnclaimed(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool removed = flock(descriptor, LOCK_EX | LOCK_NB) == 0 && unlink(path.c_str()) == 0;
    close(descriptor);
    return removed;
}

}  // namespace

int RemoveUnclaimedFiles(std::u16string_view folder, bool (*isTemporaryName)(std::u16string_view name)) {
    const SystemPath folderForm(folder);
    const std::string folderPath = EncodeFileName(folderForm.Form());
    DIR* listing = opendir(folderPath.c_str());
    if (listing == nullptr) {
        return 0;
    }
    // Names first, removals after: a folder changed while it is read may show an entry twice or never.
    std::vector<std::string> found;
    while (const dirent* entry = readdir(listing)) {
        if (isTemporaryName(DecodeFileName(entry->d_name))) {
            found.push_back(folderPath + "/" + entry->d_name);
        }
    }
    closedir(listing);
    int removed = 0;
    for (const std::string& path : found) {
        removed += RemoveIfUnclaimed(path) ? 1 : 0;
    }
    return removed;
}
