#pragma once

#include "app/export/ExportFileList.h"
#include "app/export/filesystem/FilePath.h"
#include "app/export/listing/DirectoryReader.h"
#include "app/export/listing/FolderPrefetcher.h"
#include "app/export/listing/ListFiles.h"
#include "app/export/listing/UnreadableFolders.h"
#include "tests/app/TempTree.h"
#include "tests/app/TestClock.h"
#include "tests/app/WorkbookExpectation.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

inline constexpr char16_t kOutputName[] = u"文件清单_.xlsx";

// The fixture of every export test: a temporary tree, the export run on it, and the rows it should write.
class ExportTest : public testing::Test {
protected:
    using Row = WorkbookExpectation::Row;

    static ExportOutcome Export(const std::u16string& folder, bool recursive,
                                const ExportOptions& options = {}) {
        CWString text;
        text.SetUnits(folder.data(), static_cast<std::int64_t>(folder.size()));
        return ExportFileList(text, recursive, options);
    }

    ExportOutcome ExportRoot(bool recursive, const ExportOptions& options = {}) const {
        return Export(tree_.Root(), recursive, options);
    }

    // The row of a file made by the test today.
    Row FileRow(std::u16string_view relative, std::u16string stem, std::u16string suffix,
                std::u16string size) const {
        return Row{std::move(stem), tree_.Path(relative), std::move(suffix), std::move(size),
                   LocalTodayText()};
    }

    std::u16string Output() const { return tree_.Path(kOutputName); }

    TempTree tree_;
};

// Keeps everything a listing hands over, in order.
class CollectingSink : public ListingSink {
public:
    void OnFile(FileRecord&& file) override { files.push_back(std::move(file)); }

    std::vector<std::u16string> Paths() const {
        std::vector<std::u16string> paths;
        for (const FileRecord& file : files) {
            paths.push_back(file.path);
        }
        return paths;
    }

    std::vector<FileRecord> files;
};

// Keeps the folders a recursive listing opens, in the order the listing threads open them.
class OpeningSeam : public ListingSeam {
public:
    int BeforeRead(std::u16string_view path, bool opening) const override {
        if (opening) {
            std::lock_guard<std::mutex> lock(mutex_);
            opened_.emplace_back(path);
        }
        return 0;
    }

    // Once the listing has returned (its threads have ended).
    const std::vector<std::u16string>& Opened() const { return opened_; }

private:
    mutable std::mutex mutex_;
    mutable std::vector<std::u16string> opened_;
};

// What a listing hands over, in order, as texts: "F path" for a file and "S path" for a folder skipped
// as unreadable (noted before the file the listing hands over next).
class EventSink : public ListingSink {
public:
    void OnFile(FileRecord&& file) override { Note(u"F " + file.path); }
    // The skipped folders noted since the last file; the listing's own list is `skipped`.
    void Note(std::u16string event = {}) {
        for (; noted_ < skipped.size(); ++noted_) {
            events.push_back(u"S " + skipped[noted_].path);
        }
        if (!event.empty()) {
            events.push_back(std::move(event));
        }
    }

    std::vector<std::u16string> events;
    std::vector<FileSystemError> skipped;

private:
    std::size_t noted_ = 0;
};

// The events of a recursive listing of `folder` that reads one folder after another, straight from
// the file system's enumeration, with the folders of `failing` failing to open with the given error:
// EventSink's, and "D path" for each entry that is a folder (FilesAndSkips leaves those out). False where
// a fatal failure ends it.
inline bool SerialListing(DirectoryReader& reader, const std::u16string& folder,
                          std::vector<std::u16string>& events,
                          const std::map<std::u16string, int>& failing = {}) {
    DirectoryEntry entry;
    while (reader.Next(entry)) {
        std::u16string path = JoinPath(folder, entry.name);
        if (entry.kind == EntryKind::Regular) {
            events.push_back(u"F " + path);
            continue;
        }
        if (entry.kind != EntryKind::Directory) {
            continue;
        }
        events.push_back(u"D " + path);
        if (entry.isLink) {
            continue;
        }
        auto failure = failing.find(path);
        if (failure != failing.end()) {
            FolderFailure kind = ClassifyFolderFailure(failure->second);
            if (kind == FolderFailure::Fatal) {
                return false;
            }
            if (kind == FolderFailure::Unreadable) {
                events.push_back(u"S " + path);
            }
            continue;
        }
        DirectoryReader sub;
        if (!sub.OpenRaw(reader.LastEntryRawPath(), path) || !SerialListing(sub, path, events, failing)) {
            return false;
        }
    }
    return reader.Error().code == 0;
}

// The events of a serial listing as an EventSink notes them.
inline std::vector<std::u16string> FilesAndSkips(const std::vector<std::u16string>& events) {
    std::vector<std::u16string> kept;
    for (const std::u16string& event : events) {
        if (!event.starts_with(u"D ")) {
            kept.push_back(event);
        }
    }
    return kept;
}

inline bool SerialListing(const std::u16string& folder, std::vector<std::u16string>& events,
                          const std::map<std::u16string, int>& failing = {}) {
    DirectoryReader reader;
    return reader.Open(folder) && SerialListing(reader, folder, events, failing);
}
