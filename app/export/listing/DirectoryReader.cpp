#include "app/export/listing/DirectoryReader.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/NotFoundError.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/listing/CreationTime.h"
#include "app/export/listing/DirectoryListing.h"

#include <utility>

namespace {

bool IsDotOrDotDot(const RawFolderPath& name) {
    return !name.empty() && name.size() <= 2 &&
           name.find_first_not_of(RawFolderPath::value_type('.')) == RawFolderPath::npos;
}

EntryKind KindOf(const EntryStatus& status) {
    if (status.directory) {
        return EntryKind::Directory;
    }
    return status.regular ? EntryKind::Regular : EntryKind::Other;
}

}  // namespace

DirectoryReader::DirectoryReader() = default;

DirectoryReader::~DirectoryReader() = default;

void DirectoryReader::Fail(std::u16string_view path, int code) {
    error_.path = ErrorPathText(path);
    error_.code = code;
    error_.message = SystemErrorText(code);
}

bool DirectoryReader::OpenListing(RawFolderPath raw, std::u16string_view displayPath, bool followLink) {
    listing_.reset();
    error_ = FileSystemError{};
    int code = 0;
    listing_ = DirectoryListing::Open(raw, followLink, code);
    if (!listing_) {
        Fail(displayPath, code);
        return false;
    }
    rawFolder_ = std::move(raw);
    displayFolder_ = std::u16string(displayPath);
    lastRawName_.clear();
    return true;
}

bool DirectoryReader::Open(std::u16string_view folder) {
    return OpenListing(RawPathOf(folder), folder, true);
}

bool DirectoryReader::OpenRaw(const RawFolderPath& raw, std::u16string_view displayPath) {
    // The walk goes into real folders only, even if the entry became a link meanwhile.
    return OpenListing(raw, displayPath, false);
}

RawFolderPath DirectoryReader::LastEntryRawPath() const {
    return listing_ ? JoinRawPath(rawFolder_, lastRawName_) : RawFolderPath{};
}

bool DirectoryReader::Next(DirectoryEntry& entry) {
    if (!listing_) {
        return false;
    }
    int code = 0;
    do {
        if (!listing_->Next(lastRawName_, entry.isLink, code)) {
            if (code != 0) {
                Fail(displayFolder_, code);
            }
            return false;
        }
    } while (IsDotOrDotDot(lastRawName_));
    entry.name = EntryNameText(lastRawName_);
    EntryStatus status;
    code = listing_->Status(lastRawName_, entry.isLink, status);
    // A missing entry (it vanished after the listing saw it, or a link whose target is gone or that
    // loops) has no status; it is then neither a file nor a folder rather than an error.
    if (code != 0 && !IsNotFoundError(code)) {
        Fail(JoinPath(displayFolder_, entry.name), code);
        error_.operation = "directory_entry::status";
        return false;
    }
    entry.kind = KindOf(status);
    entry.size = status.size;
    entry.creationTime = CreationTimeOf(status.birthTime, status.modificationTime);
    return true;
}
