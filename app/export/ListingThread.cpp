#include "app/export/ListingThread.h"

#include "app/export/listing/ListFiles.h"
#include "app/export/workbook/TemporaryWorkbookName.h"

namespace {

// The listing's end of the queue: collects records into batches and hands them over, at once while the
// writer has nothing to do (so the first rows are written as soon as the first files are found).
class QueueSink : public ListingSink {
public:
    QueueSink(FileRecordQueue& queue, ExportCounters& counters) : queue_(queue), counters_(counters) {
        batch_.reserve(FileRecordQueue::kBatchSize);
    }

    void OnFile(FileRecord&& file) override {
        // The export's own temporary workbooks, and those a killed export left, are never rows.
        if (IsTemporaryWorkbookName(file.Name())) {
            return;
        }
        counters_.filesFound.store(++filesFound_, std::memory_order_relaxed);
        batch_.push_back(std::move(file));
        if (batch_.size() == FileRecordQueue::kBatchSize || queue_.Empty()) {
            Flush();
        }
    }

    void OnFolderRead() override { counters_.foldersRead.store(++foldersRead_, std::memory_order_relaxed); }

    bool ShouldStop() const override { return queue_.Stopped(); }
    void BeforeWait() override { Flush(); }
    const CancelToken* StopToken() const override { return &queue_.StopToken(); }

    void Flush() {
        if (!batch_.empty()) {
            queue_.Push(std::move(batch_));
            batch_.clear();
            batch_.reserve(FileRecordQueue::kBatchSize);
        }
    }

private:
    FileRecordQueue& queue_;
    ExportCounters& counters_;
    FileRecordQueue::Batch batch_;
    // This thread's own counts; the counters only ever get stores.
    std::int64_t filesFound_ = 0;
    std::int64_t foldersRead_ = 0;
};

}  // namespace

ListingThread::ListingThread(std::u16string folder, bool includeSubfolders, const ListingSeam* seam,
                             FileRecordQueue& queue, ExportCounters& counters)
    : folder_(std::move(folder)), queue_(queue) {
    thread_ = std::thread(&ListingThread::Run, this, includeSubfolders, seam, std::ref(counters));
}

ListingThread::~ListingThread() {
    Join();
}

void ListingThread::Join() {
    queue_.Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ListingThread::Run(bool includeSubfolders, const ListingSeam* seam, ExportCounters& counters) {
    QueueSink sink(queue_, counters);
    complete_ = includeSubfolders ? ListFilesRecursive(folder_, sink, nullptr, error_, &skippedFolders_, seam)
                                  : ListFiles(folder_, sink, nullptr, error_);
    if (complete_) {
        sink.Flush();
        queue_.Close();
    } else {
        queue_.Stop();
    }
}
