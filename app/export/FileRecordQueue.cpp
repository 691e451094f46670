#include "app/export/FileRecordQueue.h"

FileRecordQueue::FileRecordQueue(const CancelToken* cancel) : onCancel_(cancel, [this] { Stop(); }) {
    if (cancel != nullptr && cancel->IsSet()) {
        Stop();
    }
}

bool FileRecordQueue::Stopped() const {
    return stopped_.load(std::memory_order_acquire);
}

bool FileRecordQueue::Push(Batch&& batch) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return batches_.size() < kCapacity || Stopped(); });
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
    changed_.wait(lock, [this] { return !batches_.empty() || closed_ || Stopped(); });
    if (batches_.empty() || Stopped()) {
        return false;
    }
    batch = std::move(batches_.front());
    batches_.pop_front();
    queued_.store(batches_.size(), std::memory_order_relaxed);
    lock.unlock();
    changed_.notify_all();
    return true;
}

// Also the cancel token's wake-up: called on the thread that sets it.
void FileRecordQueue::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_.store(true, std::memory_order_release);
        batches_.clear();
        queued_.store(0, std::memory_order_relaxed);
    }
    changed_.notify_all();
    stopToken_.Set();
}
