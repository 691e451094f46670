#pragma once

#include "app/export/filesystem/FileSystemError.h"
#include "app/export/listing/DirectoryEntry.h"

#include <memory>
#include <string>
#include <string_view>

// A folder's path in the file system's own form (bytes on POSIX, UTF-16 code units on Windows), kept
// exactly, so that a name that is not valid Unicode can still be opened.
#ifdef _WIN32
using RawFolderPath = std::u16string;
#else
using RawFolderPath = std::string;
#endif

class DirectoryListing;

// Lists one folder in the order the file system returns its entries, without "." and "..". Each entry
// comes with its kind (links followed), size and creation time straight from the enumeration, so no
// further lookup per file is needed.
//
// Errors are returned, never thrown: Open and Next report failure by their result and Error() then
// describes it. A reader is used by one thread at a time. The system's calls are DirectoryListing's.
class DirectoryReader {
public:
    DirectoryReader();
    ~DirectoryReader();
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    // Opens `folder` for listing. False on failure.
    bool Open(std::u16string_view folder);

    // The path of the entry last returned by Next, as the file system stores it, for OpenRaw: so a
    // sub-folder whose name is not valid Unicode can still be descended into, also on another thread
    // after its parent's reader has moved on.
    RawFolderPath LastEntryRawPath() const;

    // Opens the folder at `raw` (from LastEntryRawPath); on POSIX a link there is not followed.
    // `displayPath` is the folder's path for error texts.
    bool OpenRaw(const RawFolderPath& raw, std::u16string_view displayPath);

    // The next entry, or false at the end of the listing or on an error (Error().code is then set).
    bool Next(DirectoryEntry& entry);

    // The last error; code 0 when there was none. Its operation is "directory_entry::status" when an
    // entry's status could not be read, and empty otherwise (the caller names what it was doing).
    const FileSystemError& Error() const { return error_; }

private:
    bool OpenListing(RawFolderPath raw, std::u16string_view displayPath, bool followLink);
    void Fail(std::u16string_view path, int code);

    // The system's side, null while no folder is open.
    std::unique_ptr<DirectoryListing> listing_;
    RawFolderPath rawFolder_;
    std::u16string displayFolder_;
    RawFolderPath lastRawName_;
    FileSystemError error_;
};
