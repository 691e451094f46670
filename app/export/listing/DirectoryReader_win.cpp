#include "app/export/listing/DirectoryReader.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/FileTimeTicks.h"
#include "app/export/filesystem/NameCoding.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::int64_t ToSize(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// A missing entry (it vanished after the listing saw it, or a link whose target is gone or that loops)
// has no status; it is then neither a file nor a folder rather than an error.
bool IsNotFound(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_CANT_RESOLVE_FILENAME:
            return true;
        default:
            return false;
    }
}

// Symbolic links and junctions are followed for the status and never descended into; other reparse
// points (cloud placeholders, deduplicated files) are ordinary files and folders. A reparse point
// without a tag (Wine reports its Unix links so) is taken for a link.
bool IsLinkTag(DWORD reparseTag) {
    return reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT ||
           reparseTag == 0;
}

EntryKind KindOf(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Directory : EntryKind::Regular;
}

}  // namespace

struct DirectoryReader::State {
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data{};
    bool pending = false;  // `data` holds the first result, not yet returned
    std::u16string rawFolder;
    std::u16string displayFolder;
    std::u16string lastRawName;
};

DirectoryReader::DirectoryReader() = default;

DirectoryReader::~DirectoryReader() {
    Close();
}

void DirectoryReader::Close() {
    if (state_ && state_->find != INVALID_HANDLE_VALUE) {
        FindClose(state_->find);
    }
    state_.reset();
}

void DirectoryReader::Fail(std::u16string_view path, int code) {
    error_.path = ReplaceLoneSurrogates(path);
    error_.code = code;
    error_.message = SystemErrorText(code);
}

namespace {

// Starts the enumeration. An empty folder without "." and ".." (a drive root) gives
// ERROR_FILE_NOT_FOUND, which is an empty listing, not an error.
bool StartFind(const std::u16string& rawFolder, HANDLE& find, WIN32_FIND_DATAW& data, bool& pending,
               DWORD& error) {
    const SystemPath pattern(JoinPath(rawFolder, u"*"));
    find = FindFirstFileExW(Wide(pattern.Form()), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                            FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        pending = false;
        return error == ERROR_FILE_NOT_FOUND;
    }
    pending = true;
    return true;
}

}  // namespace

bool DirectoryReader::Open(std::u16string_view folder) {
    Close();
    error_ = FileSystemError{};
    auto state = std::make_unique<State>();
    state->rawFolder = std::u16string(folder);
    state->displayFolder = ReplaceLoneSurrogates(folder);
    DWORD error = 0;
    if (!StartFind(state->rawFolder, state->find, state->data, state->pending, error)) {
        Fail(folder, static_cast<int>(error));
        return false;
    }
    state_ = std::move(state);
    return true;
}

bool DirectoryReader::OpenSubfolder(const DirectoryReader& parent, std::u16string_view displayPath) {
    Close();
    error_ = FileSystemError{};
    if (!parent.state_) {
        Fail(displayPath, ERROR_INVALID_HANDLE);
        return false;
    }
    return OpenRaw(parent.LastEntryRawPath(), displayPath);
}

RawFolderPath DirectoryReader::LastEntryRawPath() const {
    return state_ ? JoinPath(state_->rawFolder, state_->lastRawName) : RawFolderPath{};
}

bool DirectoryReader::OpenRaw(const RawFolderPath& raw, std::u16string_view displayPath) {
    Close();
    error_ = FileSystemError{};
    auto state = std::make_unique<State>();
    state->rawFolder = raw;
    state->displayFolder = std::u16string(displayPath);
    DWORD error = 0;
    if (!StartFind(state->rawFolder, state->find, state->data, state->pending, error)) {
        Fail(displayPath, static_cast<int>(error));
        return false;
    }
    state_ = std::move(state);
    return true;
}

bool DirectoryReader::Next(DirectoryEntry& entry) {
    if (!state_ || state_->find == INVALID_HANDLE_VALUE) {
        return false;
    }
    for (;;) {
        if (state_->pending) {
            state_->pending = false;
        } else if (!FindNextFileW(state_->find, &state_->data)) {
            DWORD error = GetLastError();
            if (error != ERROR_NO_MORE_FILES) {
                Fail(state_->displayFolder, static_cast<int>(error));
            }
            return false;
        }
        const WIN32_FIND_DATAW& data = state_->data;
        std::u16string_view rawName(reinterpret_cast<const char16_t*>(data.cFileName));
        if (rawName == u"." || rawName == u"..") {
            continue;
        }
        state_->lastRawName = std::u16string(rawName);
        entry.name = ReplaceLoneSurrogates(rawName);
        bool reparse = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.isLink = reparse && IsLinkTag(data.dwReserved0);
        if (!entry.isLink) {
            entry.kind = KindOf(data.dwFileAttributes);
            entry.size = ToSize(data.nFileSizeHigh, data.nFileSizeLow);
            entry.creationTime = TicksFromFileTime(data.ftCreationTime);
            return true;
        }

        // The find data describe the link itself; the status is the target's.
        const SystemPath rawPath(JoinPath(state_->rawFolder, state_->lastRawName));
        HANDLE target = CreateFileW(Wide(rawPath.Form()), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        BY_HANDLE_FILE_INFORMATION info{};
        DWORD error = ERROR_SUCCESS;
        if (target == INVALID_HANDLE_VALUE) {
            error = GetLastError();
        } else {
            if (!GetFileInformationByHandle(target, &info)) {
                error = GetLastError();
            }
            CloseHandle(target);
        }
        if (error != ERROR_SUCCESS) {
            if (!IsNotFound(error)) {
                Fail(JoinPath(state_->displayFolder, entry.name), static_cast<int>(error));
                error_.operation = "directory_entry::status";
                return false;
            }
            entry.kind = EntryKind::Other;
            entry.size = 0;
            entry.creationTime = 0;
            return true;
        }
        entry.kind = KindOf(info.dwFileAttributes);
        entry.size = ToSize(info.nFileSizeHigh, info.nFileSizeLow);
        entry.creationTime = TicksFromFileTime(info.ftCreationTime);
        return true;
    }
}
