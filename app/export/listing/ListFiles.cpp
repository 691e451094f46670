#include "app/export/listing/ListFiles.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/PathChecks.h"
#include "app/export/listing/DirectoryReader.h"
#include "app/export/listing/FolderPrefetcher.h"
#include "app/export/listing/UnreadableFolders.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

char16_t AsciiLower(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

bool EqualsIgnoringAsciiCase(std::u16string_view left, std::u16string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (AsciiLower(left[i]) != AsciiLower(right[i])) {
            return false;
        }
    }
    return true;
}

bool PassesFilter(std::u16string_view name, const CMStringArray* suffixFilter) {
    if (suffixFilter == nullptr) {
        return true;
    }
    std::size_t dot = name.rfind(u'.');
    std::u16string_view suffix = dot == std::u16string_view::npos ? std::u16string_view{} : name.substr(dot);
    for (std::int64_t i = 0; i < suffixFilter->GetCount(); ++i) {
        if (EqualsIgnoringAsciiCase(suffix, suffixFilter->GetAt(i))) {
            return true;
        }
    }
    return false;
}

// Shared by both listings: hands one entry to the sink. Takes the entry's full path.
void Take(ListingSink& sink, DirectoryEntry& entry, std::u16string&& path,
          const CMStringArray* suffixFilter) {
    if (entry.kind == EntryKind::Regular) {
        if (PassesFilter(entry.name, suffixFilter)) {
            const std::size_t nameStart = path.size() - entry.name.size();
            sink.OnFile(FileRecord{std::move(path), nameStart, entry.size, entry.creationTime});
        }
    }
}

bool Failed(FileSystemError failure, const char* operation, FileSystemError& error) {
    error = std::move(failure);
    // The reader names the operation itself when reading an entry's status failed.
    if (error.operation.empty()) {
        error.operation = operation;
    }
    return false;
}

bool Failed(const DirectoryReader& reader, const char* operation, FileSystemError& error) {
    return Failed(reader.Error(), operation, error);
}

// One folder of the walk that is not done yet: the entries it has been given and not yet gone through.
struct Level {
    FolderPrefetcher::FolderPtr folder;
    std::vector<FolderPrefetcher::Entry> entries;
    std::size_t next = 0;
    bool read = false;
};

enum class Refill { More, LevelDone, Stopped, Failed };

// Gives the innermost level its next entries, or says why it has none: its folder is done (read to its
// end, or a sub-folder that failed and is skipped), the sink stopped the walk, or the listing fails.
Refill NextEntries(FolderPrefetcher& prefetcher, std::vector<Level>& levels, ListingSink& sink,
                   std::vector<FileSystemError>* skippedFolders, FileSystemError& error) {
    Level& level = levels.back();
    level.next = 0;
    FileSystemError failure;
    const FolderPrefetcher::Result result = prefetcher.Next(level.folder, level.entries, failure);
    if (!level.read &&
        (result == FolderPrefetcher::Result::Entries || result == FolderPrefetcher::Result::End)) {
        level.read = true;
        sink.OnFolderRead();
    }
    switch (result) {
        case FolderPrefetcher::Result::Entries:
            return Refill::More;
        case FolderPrefetcher::Result::Stopped:
            return Refill::Stopped;
        case FolderPrefetcher::Result::End:
            return Refill::LevelDone;
        case FolderPrefetcher::Result::OpenFailed:
            if (levels.size() == 1) {
                Failed(std::move(failure), "recursive_directory_iterator::recursive_directory_iterator",
                       error);
                return Refill::Failed;
            }
            break;
        case FolderPrefetcher::Result::ReadFailed:
            // A sub-folder that fails part-way is passed over like one that cannot be opened: its files
            // listed so far stay.
            break;
    }
    const std::u16string& path = FolderPrefetcher::PathOf(*level.folder);
    if (levels.size() == 1 || !SkipFailedSubfolder(path, failure, skippedFolders)) {
        Failed(std::move(failure), "recursive_directory_iterator::operator++", error);
        return Refill::Failed;
    }
    return Refill::LevelDone;
}

}  // namespace

bool ListFiles(std::u16string_view folder, ListingSink& sink, const CMStringArray* suffixFilter,
               FileSystemError& error) {
    // A folder that is not there has no files; one that cannot be looked at is a failure.
    if (!PathExists(folder, error)) {
        return error.code == 0;
    }
    DirectoryReader reader;
    if (!reader.Open(folder)) {
        return Failed(reader, "directory_iterator::directory_iterator", error);
    }
    DirectoryEntry entry;
    while (!sink.ShouldStop() && reader.Next(entry)) {
        Take(sink, entry, JoinPath(folder, entry.name), suffixFilter);
    }
    if (reader.Error().code != 0) {
        return Failed(reader, "directory_iterator::operator++", error);
    }
    sink.OnFolderRead();
    return true;
}

bool ListFilesRecursive(std::u16string_view folder, ListingSink& sink, const CMStringArray* suffixFilter,
                        FileSystemError& error, std::vector<FileSystemError>* skippedFolders,
                        const ListingSeam* seam) {
    error = FileSystemError{};
    if (IsRootForRecursiveWalk(folder)) {
        return true;
    }
    if (!PathExists(folder, error)) {
        return error.code == 0;
    }
    FolderPrefetcher prefetcher(folder, sink, seam);
    std::vector<Level> levels;
    levels.push_back(Level{prefetcher.Top(), {}, 0});

    while (!levels.empty() && !sink.ShouldStop()) {
        Level& level = levels.back();
        if (level.next == level.entries.size()) {
            switch (NextEntries(prefetcher, levels, sink, skippedFolders, error)) {
                case Refill::More:
                    continue;
                case Refill::LevelDone:
                    levels.pop_back();
                    continue;
                case Refill::Stopped:
                    return true;
                case Refill::Failed:
                    return false;
            }
        }
        FolderPrefetcher::Entry& item = level.entries[level.next++];
        if (item.subfolder) {
            // The sub-folder's path was joined when its parent was read. `level` and `item` are not
            // used past this point: the new level may move the levels.
            levels.push_back(Level{std::move(item.subfolder), {}, 0});
        } else {
            const std::u16string& path = FolderPrefetcher::PathOf(*level.folder);
            Take(sink, item.entry, JoinPath(path, item.entry.name), suffixFilter);
        }
    }
    return true;
}
