#pragma once

#include "app/export/listing/DirectoryReader.h"

#include <cstdint>
#include <memory>

// What the system says of an entry, links followed.
struct EntryStatus {
    bool regular = false;
    bool directory = false;
    std::int64_t size = 0;
    // On the FILETIME scale (FileTimeTicks.h), as the system gives them: the birth time is 0 where
    // there is none. Which one the row shows is CreationTimeOf's business.
    std::int64_t birthTime = 0;
    std::int64_t modificationTime = 0;
};

// The system's side of DirectoryReader, one per platform (DirectoryListing_win.cpp with
// FindFirstFileExW, DirectoryListing_posix.cpp with readdir and statx): one open folder's listing. Its
// failures are the system's error numbers; what they mean is the reader's business.
class DirectoryListing {
public:
    // Opens the folder at `raw`; on POSIX a link there is followed only with `followLink`. Null on
    // failure, with `code` set.
    static std::unique_ptr<DirectoryListing> Open(const RawFolderPath& raw, bool followLink, int& code);

    virtual ~DirectoryListing() = default;

    // The next entry's name as the file system stores it ("." and ".." too) and whether the listing
    // marks it as a link. False at the end, and on a failure with `code` set.
    virtual bool Next(RawFolderPath& name, bool& isLink, int& code) = 0;

    // The status of the entry last returned, called `name`; where the listing could not say whether it
    // is a link, `isLink` is set here. 0, or the system's error number.
    virtual int Status(const RawFolderPath& name, bool& isLink, EntryStatus& status) = 0;
};

// The platform's rules for the raw paths of the listing.
// A folder text as the file system's own path.
RawFolderPath RawPathOf(std::u16string_view folder);
// The path of the entry `name` in the folder at `folder`.
RawFolderPath JoinRawPath(const RawFolderPath& folder, const RawFolderPath& name);
// An entry's name as text, with U+FFFD for what is not valid Unicode.
std::u16string EntryNameText(const RawFolderPath& name);
// A path as an error names it.
std::u16string ErrorPathText(std::u16string_view path);
