#include "app/export/ListFiles.h"

#include "app/export/DirectoryReader.h"
#include "app/export/FilePath.h"
#include "app/export/PathChecks.h"
#include "app/export/UnreadableFolders.h"

#include <memory>
#include <string>
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

bool IsHexDigit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'F') || (unit >= u'a' && unit <= u'f');
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
        if (!IsTemporaryWorkbookName(entry.name) && PassesFilter(entry.name, suffixFilter)) {
            sink.OnFile(FileRecord{std::move(path), entry.size, entry.creationTime});
        }
    } else if (entry.kind == EntryKind::Directory) {
        sink.OnFolder(path);
    }
}

bool Failed(const DirectoryReader& reader, const char* operation, FileSystemError& error) {
    error = reader.Error();
    // The reader names the operation itself when reading an entry's status failed.
    if (error.operation.empty()) {
        error.operation = operation;
    }
    return false;
}

// One open reader per level of the walk, each with the path its entries are joined to.
struct Level {
    std::unique_ptr<DirectoryReader> reader;
    std::u16string path;
};

// Opens the sub-folder the parent's last entry names, as the next level of the walk. One that cannot be
// opened is passed over when SkipFailedSubfolder allows it; otherwise false, with `error` set.
bool Descend(std::vector<Level>& levels, std::u16string&& path, std::vector<FileSystemError>* skippedFolders,
             FileSystemError& error) {
    auto child = std::make_unique<DirectoryReader>();
    if (!child->OpenSubfolder(*levels.back().reader, path)) {
        if (SkipFailedSubfolder(path, child->Error(), skippedFolders)) {
            return true;
        }
        return Failed(*child, "recursive_directory_iterator::operator++", error);
    }
    levels.push_back(Level{std::move(child), std::move(path)});
    return true;
}

}  // namespace

bool IsTemporaryWorkbookName(std::u16string_view name) {
    std::u16string_view prefix(kTemporaryWorkbookPrefix);
    std::u16string_view suffix(kTemporaryWorkbookSuffix);
    if (name.size() != prefix.size() + kTemporaryWorkbookDigits + suffix.size() ||
        !name.starts_with(prefix) || !name.ends_with(suffix)) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < prefix.size() + kTemporaryWorkbookDigits; ++i) {
        if (!IsHexDigit(name[i])) {
            return false;
        }
    }
    return true;
}

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
    return true;
}

bool ListFilesRecursive(std::u16string_view folder, ListingSink& sink, const CMStringArray* suffixFilter,
                        FileSystemError& error, std::vector<FileSystemError>* skippedFolders) {
    error = FileSystemError{};
    if (IsRootForRecursiveWalk(folder) || !PathExists(folder)) {
        return true;
    }
    std::vector<Level> levels;
    levels.push_back(Level{std::make_unique<DirectoryReader>(), std::u16string(folder)});
    if (!levels.back().reader->Open(folder)) {
        return Failed(*levels.back().reader, "recursive_directory_iterator::recursive_directory_iterator",
                      error);
    }

    DirectoryEntry entry;
    while (!levels.empty() && !sink.ShouldStop()) {
        Level& level = levels.back();
        if (!level.reader->Next(entry)) {
            // A sub-folder that fails part-way is passed over like one that cannot be opened: its files
            // listed so far stay.
            if (level.reader->Error().code != 0 &&
                (levels.size() == 1 ||
                 !SkipFailedSubfolder(level.path, level.reader->Error(), skippedFolders))) {
                return Failed(*level.reader, "recursive_directory_iterator::operator++", error);
            }
            levels.pop_back();
            continue;
        }
        std::u16string path = JoinPath(level.path, entry.name);
        if (entry.kind == EntryKind::Directory && !entry.isLink) {
            sink.OnFolder(path);
            // `level` is not used past this point: descending may move the levels.
            if (!Descend(levels, std::move(path), skippedFolders, error)) {
                return false;
            }
        } else {
            Take(sink, entry, std::move(path), suffixFilter);
        }
    }
    return true;
}
