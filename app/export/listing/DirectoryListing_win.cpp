#include "app/export/listing/DirectoryListing.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/FileTimeTicks.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::int64_t ToSize(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// Symbolic links and junctions are followed for the status and never descended into; other reparse
// points (cloud placeholders, deduplicated files) are ordinary files and folders. A reparse point
// without a tag (Wine reports its Unix links so) is taken for a link.
bool IsLinkTag(DWORD reparseTag) {
    return reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT ||
           reparseTag == 0;
}

EntryStatus StatusOf(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& creation,
                     const FILETIME& lastWrite) {
    EntryStatus status;
    status.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.regular = !status.directory;
    status.size = ToSize(sizeHigh, sizeLow);
    status.birthTime = TicksFromFileTime(creation);
    status.modificationTime = TicksFromFileTime(lastWrite);
    return status;
}

// The status of a link's target.
int TargetStatus(const std::u16string& path, EntryStatus& status) {
    const SystemPath form(path);
    HANDLE target = CreateFileW(Wide(form.Form()), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        return static_cast<int>(GetLastError());
    }
    BY_HANDLE_FILE_INFORMATION info{};
    DWORD error = ERROR_SUCCESS;
    if (!GetFileInformationByHandle(target, &info)) {
        error = GetLastError();
    }
    CloseHandle(target);
    if (error == ERROR_SUCCESS) {
        status = StatusOf(info.dwFileAttributes, info.nFileSizeHigh, info.nFileSizeLow, info.ftCreationTime,
                          info.ftLastWriteTime);
    }
    return static_cast<int>(error);
}

class FindListing : public DirectoryListing {
public:
    FindListing(const RawFolderPath& folder, HANDLE find, const WIN32_FIND_DATAW& data)
        : folder_(folder), find_(find), data_(data), pending_(find != INVALID_HANDLE_VALUE) {}
    ~FindListing() override {
        if (find_ != INVALID_HANDLE_VALUE) {
            FindClose(find_);
        }
    }
    FindListing(const FindListing&) = delete;
    FindListing& operator=(const FindListing&) = delete;

    bool Next(RawFolderPath& name, bool& isLink, int& code) override {
        if (find_ == INVALID_HANDLE_VALUE) {
            return false;
        }
        if (pending_) {
            pending_ = false;
        } else if (!FindNextFileW(find_, &data_)) {
            DWORD error = GetLastError();
            code = error != ERROR_NO_MORE_FILES ? static_cast<int>(error) : 0;
            return false;
        }
        name = reinterpret_cast<const char16_t*>(data_.cFileName);
        bool reparse = (data_.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        isLink = reparse && IsLinkTag(data_.dwReserved0);
        return true;
    }

    // The find data describe a link itself; its status is the target's.
    int Status(const RawFolderPath& name, bool& isLink, EntryStatus& status) override {
        if (isLink) {
            return TargetStatus(JoinPath(folder_, name), status);
        }
        status = StatusOf(data_.dwFileAttributes, data_.nFileSizeHigh, data_.nFileSizeLow,
                          data_.ftCreationTime, data_.ftLastWriteTime);
        return 0;
    }

private:
    RawFolderPath folder_;
    HANDLE find_;
    WIN32_FIND_DATAW data_;
    bool pending_;  // data_ holds the first result, not yet returned
};

}  // namespace

// An empty folder without "." and ".." (a drive root) gives ERROR_FILE_NOT_FOUND, which is an empty
// listing, not an error.
std::unique_ptr<DirectoryListing> DirectoryListing::Open(const RawFolderPath& raw, bool /*followLink*/,
                                                         int& code) {
    const SystemPath pattern(JoinPath(raw, u"*"));
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileExW(Wide(pattern.Form()), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            code = static_cast<int>(error);
            return nullptr;
        }
    }
    return std::make_unique<FindListing>(raw, find, data);
}

RawFolderPath RawPathOf(std::u16string_view folder) {
    return std::u16string(folder);
}

RawFolderPath JoinRawPath(const RawFolderPath& folder, const RawFolderPath& name) {
    return JoinPath(folder, name);
}

std::u16string EntryNameText(const RawFolderPath& name) {
    return ReplaceLoneSurrogates(name);
}

std::u16string ErrorPathText(std::u16string_view path) {
    return ReplaceLoneSurrogates(path);
}
