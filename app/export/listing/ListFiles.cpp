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
    } else if (entry.kind == EntryKind::Directory) {
        sink.OnFolder(path);
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

// One folder of the walk that is not done yet: the entries it has been given and not yet gone through,
// and the path they are joined to.
struct Level {
    FolderPrefetcher::FolderPtr folder;
    std::u16string path;
    std::vector<FolderPrefetcher::Entry> entries;
    std::size_t next = 0;
    bool read = false;
};

}  // namespace

bool ListFiles(std::u16string_view folder, ListingSink& sink, const CMStringArray* suffixFilter,
               FileSystemError& error) {
    error = FileSystemError{};
    if (!PathExists(folder)) {
        return true;
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
    if (IsRootForRecursiveWalk(folder) || !PathExists(folder)) {
        return true;
    }
    FolderPrefetcher prefetcher(folder, sink, seam);
    std::vector<Level> levels;
    levels.push_back(Level{prefetcher.Top(), std::u16string(folder), {}, 0});

    FileSystemError failure;
    while (!levels.empty() && !sink.ShouldStop()) {
        Level& level = levels.back();
        if (level.next == level.entries.size()) {
            level.next = 0;
            const FolderPrefetcher::Result result = prefetcher.Next(level.folder, level.entries, failure);
            if (!level.read &&
                (result == FolderPrefetcher::Result::Entries || result == FolderPrefetcher::Result::End)) {
                level.read = true;
                sink.OnFolderRead();
            }
            switch (result) {
                case FolderPrefetcher::Result::Entries:
                    continue;
                case FolderPrefetcher::Result::Stopped:
                    return true;
                case FolderPrefetcher::Result::End:
                    levels.pop_back();
                    continue;
                case FolderPrefetcher::Result::OpenFailed:
                    if (levels.size() == 1) {
                        return Failed(std::move(failure),
                                      "recursive_directory_iterator::recursive_directory_iterator", error);
                    }
                    break;
                case FolderPrefetcher::Result::ReadFailed:
                    // A sub-folder that fails part-way is passed over like one that cannot be opened:
                    // its files listed so far stay.
                    break;
            }
            if (levels.size() == 1 || !SkipFailedSubfolder(level.path, failure, skippedFolders)) {
                return Failed(std::move(failure), "recursive_directory_iterator::operator++", error);
            }
            levels.pop_back();
            continue;
        }
        FolderPrefetcher::Entry& item = level.entries[level.next++];
        std::u16string path = JoinPath(level.path, item.entry.name);
        if (item.subfolder) {
            sink.OnFolder(path);
            FolderPrefetcher::FolderPtr subfolder = std::move(item.subfolder);
            // `level` and `item` are not used past this point: the new level may move the levels.
            levels.push_back(Level{std::move(subfolder), std::move(path), {}, 0});
        } else {
            Take(sink, item.entry, std::move(path), suffixFilter);
        }
    }
    return true;
}
