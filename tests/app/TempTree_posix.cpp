#include "tests/app/TempTree.h"

#include "app/export/filesystem/NameCoding.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>

namespace {

std::string Raw(std::u16string_view path) {
    return EncodeFileName(path);
}

// Empties the folder `fd` (which it closes), relative to its parent, so that trees deeper than PATH_MAX
// go too. The tests may leave folders without permissions behind; they are given back first.
void RemoveContents(int fd) {
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return;
    }
    while (struct dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat status {};
        if (fstatat(dirfd(dir), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode)) {
            fchmodat(dirfd(dir), name.c_str(), 0700, 0);
            RemoveContents(openat(dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            unlinkat(dirfd(dir), name.c_str(), AT_REMOVEDIR);
        } else {
            unlinkat(dirfd(dir), name.c_str(), 0);
        }
    }
    closedir(dir);
}

void MakeParents(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
    }
}

}  // namespace

TempTree::TempTree() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/morvane-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder";
    }
    root_ = DecodeUtf8Lossy(pattern);
}

TempTree::~TempTree() {
    std::string raw = Raw(root_);
    chmod(raw.c_str(), 0700);
    RemoveContents(open(raw.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    rmdir(raw.c_str());
}

std::u16string TempTree::Path(std::u16string_view relative) const {
    return relative.empty() ? root_ : root_ + u"/" + std::u16string(relative);
}

void TempTree::MakeFolder(std::u16string_view relative) const {
    std::string raw = Raw(Path(relative));
    MakeParents(raw + "/");
}

void TempTree::MakeFile(std::u16string_view relative, std::int64_t size) const {
    std::string raw = Raw(Path(relative));
    MakeParents(raw);
    int fd = open(raw.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << "cannot make " << raw;
    EXPECT_EQ(ftruncate(fd, size), 0);
    close(fd);
}

void TempTree::WriteFile(std::u16string_view relative, std::string_view bytes) const {
    std::string raw = Raw(Path(relative));
    MakeParents(raw);
    std::FILE* file = std::fopen(raw.c_str(), "wb");
    ASSERT_NE(file, nullptr) << "cannot write " << raw;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string TempTree::ReadFile(std::u16string_view relative) const {
    std::string raw = Raw(Path(relative));
    std::FILE* file = std::fopen(raw.c_str(), "rb");
    if (file == nullptr) {
        return {};
    }
    std::string content;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, count);
    }
    std::fclose(file);
    return content;
}

bool TempTree::Exists(std::u16string_view relative) const {
    std::string raw = Raw(Path(relative));
    struct stat status {};
    return lstat(raw.c_str(), &status) == 0;
}

std::vector<std::u16string> TempTree::ListNames(std::u16string_view relative) const {
    std::string raw = Raw(Path(relative));
    std::vector<std::u16string> names;
    DIR* dir = opendir(raw.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (struct dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(DecodeFileName(name));
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void TempTree::Remove(std::u16string_view relative) const {
    std::string raw = Raw(Path(relative));
    EXPECT_EQ(unlink(raw.c_str()), 0) << "cannot remove " << raw;
}

void TempTree::SetMode(std::u16string_view relative, int mode) const {
    std::string raw = Raw(Path(relative));
    EXPECT_EQ(chmod(raw.c_str(), static_cast<mode_t>(mode)), 0) << "cannot change the mode of " << raw;
}
