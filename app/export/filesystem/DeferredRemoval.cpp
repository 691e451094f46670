#include "app/export/filesystem/DeferredRemoval.h"

#include <algorithm>

namespace {

inline constexpr std::chrono::milliseconds kFirstWait{50};
inline constexpr std::chrono::milliseconds kLongestWait{2000};

}  // namespace

DeferredRemoval::~DeferredRemoval() {
    stop_.Set();
    // Joined without the lock, which the thread may still need once.
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        thread = std::move(thread_);
    }
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
    done_.wait_for(lock, limit, [this] { return pending_.empty(); });
    return pending_;
}

void DeferredRemoval::Run() {
    std::chrono::milliseconds wait = kFirstWait;
    for (;;) {
        if (stop_.WaitFor(wait)) {
            return;
        }
        wait = std::min(wait * 2, kLongestWait);
        std::vector<std::u16string> paths;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            paths = pending_;
        }
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
