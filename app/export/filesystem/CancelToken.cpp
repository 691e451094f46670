#include "app/export/filesystem/CancelToken.h"

bool CancelToken::Set() {
    std::lock_guard<std::mutex> lock(mutex_);
    // A waiter between its look at the flag and its sleep holds the mutex (its own, or this one):
    // setting the flag before taking either means the notification cannot fall into that gap.
    if (set_.exchange(true, std::memory_order_acq_rel)) {
        return false;
    }
    for (const std::function<void()>& wakeUp : wakeUps_) {
        wakeUp();
    }
    woken_.notify_all();
    return true;
}

bool CancelToken::WaitFor(std::chrono::steady_clock::duration duration) const {
    std::unique_lock<std::mutex> lock(mutex_);
    ++waits_;
    const bool set = woken_.wait_for(lock, duration, [this] { return IsSet(); });
    --waits_;
    return set;
}

std::size_t CancelToken::Waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

CancelToken::Subscription::Subscription(const CancelToken* token, std::function<void()> wakeUp)
    : token_(token) {
    if (token_ != nullptr) {
        std::lock_guard<std::mutex> lock(token_->mutex_);
        entry_ = token_->wakeUps_.insert(token_->wakeUps_.end(), std::move(wakeUp));
    }
}

CancelToken::Subscription::~Subscription() {
    if (token_ != nullptr) {
        std::lock_guard<std::mutex> lock(token_->mutex_);
        token_->wakeUps_.erase(entry_);
    }
}
