#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// The request to stop an export, set from any thread (the window's "取消", closing the window, Ctrl-C)
// and seen by the export's threads: they look at it often, and a wait on it ends as soon as it is set.
class CancelToken {
public:
    CancelToken() = default;
    CancelToken(const CancelToken&) = delete;
    CancelToken& operator=(const CancelToken&) = delete;

    // Attributes
    bool IsSet() const { return set_.load(std::memory_order_relaxed); }

    // Operations
    // Sets the token and wakes every wait on it. False when it was set already.
    bool Set();
    // Async-signal-safe: only stores the flag (a lock-free atomic). A wait already under way is not
    // woken, so this suits only a process whose waits do not wait on the token (POSIX, where nothing
    // waits for another program).
    void SetFromSignalHandler() { set_.store(true, std::memory_order_relaxed); }
    // Clears the token for the next export; only while no thread uses it.
    void Reset() { set_.store(false, std::memory_order_relaxed); }
    // Waits up to `duration`, over at once when the token is set (or already was). True when set.
    bool WaitFor(std::chrono::steady_clock::duration duration) const;

private:
    static_assert(std::atomic<bool>::is_always_lock_free);

    std::atomic<bool> set_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable woken_;
};
