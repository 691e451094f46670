#pragma once

#include "app/export/FileRecordQueue.h"
#include "app/export/ProgressReporter.h"
#include "app/export/filesystem/FileSystemError.h"

#include <string>
#include <thread>
#include <vector>

class ListingSeam;

// The export's listing, on a thread of its own: it hands the files to the writer through `queue` in
// batches (the export's own temporary workbooks left out) and counts the folders read and files found.
// When the listing fails the queue is stopped, since the writer need not finish the rows still queued.
class ListingThread {
public:
    ListingThread(std::u16string folder, bool includeSubfolders, const ListingSeam* seam,
                  FileRecordQueue& queue, ExportCounters& counters);
    // Join: no listing outlives its export, whatever ends it.
    ~ListingThread();
    ListingThread(const ListingThread&) = delete;
    ListingThread& operator=(const ListingThread&) = delete;

    // Stops the queue (the writer is done with it) and waits for the thread, which ends at its next
    // entry, or at once when it waits.
    void Join();

    // After Join: whether the whole tree was listed, and if not why; the sub-folders left out.
    bool Complete() const { return complete_; }
    FileSystemError& Error() { return error_; }
    std::vector<FileSystemError>& SkippedFolders() { return skippedFolders_; }

private:
    void Run(bool includeSubfolders, const ListingSeam* seam, ExportCounters& counters);

    const std::u16string folder_;
    FileRecordQueue& queue_;
    // Written by the thread, read after Join.
    bool complete_ = false;
    FileSystemError error_;
    std::vector<FileSystemError> skippedFolders_;
    std::thread thread_;
};
