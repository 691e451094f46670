#include "app/export/ListFiles.h"

#include "app/export/DirectoryReader.h"
#include "app/export/FilePath.h"
#include "app/export/PathChecks.h"
#include "app/export/UnreadableFolders.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// How often the observer hears the count while listing.
inline constexpr std::int64_t kProgressInterval = 4096;

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

// Shared by both listings: sorts one entry into the lists. Returns the entry's full path.
class EntrySink {
public:
    EntrySink(CMStringArray* subFolders, FileList* files, const CMStringArray* suffixFilter,
              ExportObserver* observer)
        : subFolders_(subFolders), files_(files), suffixFilter_(suffixFilter), observer_(observer) {}

    void Take(const DirectoryEntry& entry, const std::u16string& path) {
        if (entry.kind == EntryKind::Regular) {
            if (files_ != nullptr && PassesFilter(entry.name, suffixFilter_)) {
                files_->Append(path.c_str(), entry.size, entry.creationTime);
                if (observer_ != nullptr && files_->GetCount() % kProgressInterval == 0) {
                    observer_->OnProgress(files_->GetCount(), 0);
                }
            }
        } else if (entry.kind == EntryKind::Directory && subFolders_ != nullptr) {
            subFolders_->Append(path.c_str());
        }
    }

    void Finish() {
        if (observer_ != nullptr && files_ != nullptr) {
            observer_->OnProgress(files_->GetCount(), 0);
        }
    }

private:
    CMStringArray* subFolders_;
    FileList* files_;
    const CMStringArray* suffixFilter_;
    ExportObserver* observer_;
};

bool Failed(const DirectoryReader& reader, const char* operation, FileSystemError& error) {
    error = reader.Error();
    // The reader names the operation itself when reading an entry's status failed.
    if (error.operation.empty()) {
        error.operation = operation;
    }
    return false;
}

}  // namespace

bool ListFiles(std::u16string_view folder, CMStringArray* subFolders, FileList* files,
               const CMStringArray* suffixFilter, FileSystemError& error, ExportObserver* observer) {
    error = FileSystemError{};
    if (!PathExists(folder)) {
        return true;
    }
    EntrySink sink(subFolders, files, suffixFilter, observer);
    DirectoryReader reader;
    if (!reader.Open(folder)) {
        return Failed(reader, "directory_iterator::directory_iterator", error);
    }
    DirectoryEntry entry;
    while (reader.Next(entry)) {
        sink.Take(entry, JoinPath(folder, entry.name));
    }
    if (reader.Error().code != 0) {
        return Failed(reader, "directory_iterator::operator++", error);
    }
    sink.Finish();
    return true;
}

bool ListFilesRecursive(std::u16string_view folder, CMStringArray* subFolders, FileList* files,
                        const CMStringArray* suffixFilter, FileSystemError& error, ExportObserver* observer,
                        std::vector<FileSystemError>* skippedFolders) {
    error = FileSystemError{};
    if (IsRootForRecursiveWalk(folder) || !PathExists(folder)) {
        return true;
    }
    EntrySink sink(subFolders, files, suffixFilter, observer);

    // One open reader per level of the walk, each with the path its entries are joined to.
    struct Level {
        std::unique_ptr<DirectoryReader> reader;
        std::u16string path;
    };
    std::vector<Level> levels;
    levels.push_back(Level{std::make_unique<DirectoryReader>(), std::u16string(folder)});
    if (!levels.back().reader->Open(folder)) {
        return Failed(*levels.back().reader, "recursive_directory_iterator::recursive_directory_iterator",
                      error);
    }

    DirectoryEntry entry;
    while (!levels.empty()) {
        Level& level = levels.back();
        if (!level.reader->Next(entry)) {
            if (level.reader->Error().code != 0 &&
                (levels.size() == 1 ||
                 !SkipFailedSubfolder(level.path, level.reader->Error(), skippedFolders))) {
                return Failed(*level.reader, "recursive_directory_iterator::operator++", error);
            }
            levels.pop_back();
            continue;
        }
        std::u16string path = JoinPath(level.path, entry.name);
        sink.Take(entry, path);
        if (entry.kind == EntryKind::Directory && !entry.isLink) {
            auto child = std::make_unique<DirectoryReader>();
            if (!child->OpenSubfolder(*level.reader, path)) {
                if (SkipFailedSubfolder(path, child->Error(), skippedFolders)) {
                    continue;
                }
                return Failed(*child, "recursive_directory_iterator::operator++", error);
            }
            // `level` is not used past this point: the push may move the levels.
            levels.push_back(Level{std::move(child), std::move(path)});
        }
    }
    sink.Finish();
    return true;
}
