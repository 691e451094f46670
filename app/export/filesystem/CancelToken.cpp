#include "app/export/filesystem/CancelToken.h"

bool CancelToken::Set() {
    bool wasSet = set_.exchange(true);
    // A waiter between its look at the flag and its sleep holds the mutex: taking it here means the
    // notification cannot fall into that gap.
    { std::lock_guard<std::mutex> lock(mutex_); }
    woken_.notify_all();
    return !wasSet;
}

bool CancelToken::WaitFor(std::chrono::steady_clock::duration duration) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return woken_.wait_for(lock, duration, [this] { return IsSet(); });
}
