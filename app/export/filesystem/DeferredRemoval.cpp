#include "app/export/filesystem/DeferredRemoval.h"

#include <algorithm>

namespace {

inline constexpr std::chrono::milliseconds kFirstWait{50};
inline constexpr std::chrono::milliseconds kLongestWait{2000};
inline constexpr std::chrono::milliseconds kWaitWhileAwaited{100};

}  // namespace

DeferredRemoval::~DeferredRemoval() {
    // Joined without the lock, which the thread may still need once.
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        thread = std::move(thread_);
    }
    wake_.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
}

void DeferredRemoval::Add(std::u16string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.push_back(std::move(path));
    if (!running_) {
        // A thread that found nothing left has already let go of the lock for good.
        if (thread_.joinable()) {
            thread_.join();
        }
        running_ = true;
        thread_ = std::thread(&DeferredRemoval::Run, this);
    }
}

std::vector<std::u16string> DeferredRemoval::WaitUntilDone(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    ++waiters_;
    wake_.notify_all();
    done_.wait_for(lock, limit, [this] { return pending_.empty(); });
    --waiters_;
    return pending_;
}

void DeferredRemoval::Run() {
    std::chrono::milliseconds wait = kFirstWait;
    for (;;) {
        std::vector<std::u16string> paths;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            const auto due = std::chrono::steady_clock::now() + wait;
            // A waiter brings the next try forward, to at most 100 ms from when it is there.
            wake_.wait_until(lock, due, [this] { return stopping_ || waiters_ > 0; });
            if (!stopping_ && waiters_ > 0) {
                const auto soon = std::chrono::steady_clock::now() + kWaitWhileAwaited;
                wake_.wait_until(lock, std::min(due, soon), [this] { return stopping_; });
            }
            if (stopping_) {
                return;
            }
            paths = pending_;
        }
        wait = std::min(wait * 2, kLongestWait);
        // The attempts run without the lock: Add must not wait for the file system.
        std::vector<std::u16string> gone;
        for (const std::u16string& path : paths) {
            if (attempt_(path)) {
                gone.push_back(path);
            }
        }
        std::lock_guard<std::mutex> lock(mutex_);
        for (const std::u16string& path : gone) {
            auto found = std::find(pending_.begin(), pending_.end(), path);
            if (found != pending_.end()) {
                pending_.erase(found);
            }
        }
        if (pending_.empty()) {
            running_ = false;
            done_.notify_all();
            return;
        }
    }
}
