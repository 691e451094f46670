#include "app/export/FileRecordQueue.h"

#include <chrono>

namespace {

// How long a wait goes before it looks at the cancel token again.
inline constexpr std::chrono::milliseconds kCancelPoll{20};

}  // namespace

bool FileRecordQueue::Cancelled() const {
    return cancel_ != nullptr && cancel_->IsSet();
}

bool FileRecordQueue::Stopped() const {
    return stopped_.load(std::memory_order_relaxed) || Cancelled();
}

bool FileRecordQueue::Push(Batch&& batch) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (batches_.size() >= kCapacity) {
        if (Stopped()) {
            return false;
        }
        changed_.wait_for(lock, kCancelPoll);
    }
    if (Stopped()) {
        return false;
    }
    listed_.fetch_add(static_cast<std::int64_t>(batch.size()), std::memory_order_relaxed);
    batches_.push_back(std::move(batch));
    queued_.store(batches_.size(), std::memory_order_relaxed);
    lock.unlock();
    changed_.notify_all();
    return true;
}

void FileRecordQueue::Close() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool FileRecordQueue::Pop(Batch& batch) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (batches_.empty()) {
        if (closed_ || Stopped()) {
            return false;
        }
        changed_.wait_for(lock, kCancelPoll);
    }
    if (Stopped()) {
        return false;
    }
    batch = std::move(batches_.front());
    batches_.pop_front();
    queued_.store(batches_.size(), std::memory_order_relaxed);
    lock.unlock();
    changed_.notify_all();
    return true;
}

void FileRecordQueue::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_.store(true, std::memory_order_relaxed);
        batches_.clear();
        queued_.store(0, std::memory_order_relaxed);
    }
    changed_.notify_all();
}
