#pragma once

#include "app/export/filesystem/CancelToken.h"
#include "app/export/listing/FileRecord.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

// Carries the records of the listing thread to the writing thread in batches, holding at most a few
// batches: the listing waits while the writer is behind, so memory stays flat however many files there
// are.
//
// Both sides stop waiting at once when the export's cancel token is set, or when the other side gives
// up; the listing's own waits (its read-ahead) end on StopToken, which is set in both cases.
class FileRecordQueue {
public:
    using Batch = std::vector<FileRecord>;

    // Records per batch, and batches held at most.
    static inline constexpr std::size_t kBatchSize = 512;
    static inline constexpr std::size_t kCapacity = 8;

    explicit FileRecordQueue(const CancelToken* cancel);
    FileRecordQueue(const FileRecordQueue&) = delete;
    FileRecordQueue& operator=(const FileRecordQueue&) = delete;

    // The listing's side.
    // Hands over a batch, waiting while the queue is full. False when the writer stopped or the export
    // was cancelled: the listing should end.
    bool Push(Batch&& batch);
    // The listing is over (complete or not): Pop returns false once the queue is empty.
    void Close();
    // True once the writer stopped or the export was cancelled.
    bool Stopped() const;
    // True while no batch waits: the writer is idle, so a partial batch is better handed over now.
    bool Empty() const { return queued_.load(std::memory_order_relaxed) == 0; }

    // The writer's side.
    // The next batch, waiting for one. False at the end of the listing or when cancelled.
    bool Pop(Batch& batch);
    // The writer gives up (it failed or was cancelled): Push returns false from now on.
    void Stop();

    // Files handed over so far.
    std::int64_t Listed() const { return listed_.load(std::memory_order_relaxed); }
    // Set once the writer stopped or the export was cancelled.
    const CancelToken& StopToken() const { return stopToken_; }

private:
    CancelToken stopToken_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> batches_;
    bool closed_ = false;
    std::atomic<bool> stopped_{false};
    std::atomic<std::int64_t> listed_{0};
    std::atomic<std::size_t> queued_{0};
    // Last: a cancel stops the queue only while all of the above is there.
    CancelToken::Subscription onCancel_;
};
