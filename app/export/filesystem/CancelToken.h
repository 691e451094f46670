#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>

// The request to stop an export, set from any thread (the window's "取消", closing the window, Ctrl-C)
// and seen by the export's threads. Every wait of the export ends as soon as it is set: a wait either
// waits on the token itself (WaitFor) or holds a Subscription whose wake-up Set calls.
class CancelToken {
public:
    class Subscription;

    CancelToken() = default;
    CancelToken(const CancelToken&) = delete;
    CancelToken& operator=(const CancelToken&) = delete;

    // Attributes
    bool IsSet() const { return set_.load(std::memory_order_acquire); }
    // The WaitFor calls under way. A wait is counted under the lock it releases only as it sleeps, so a
    // count seen above zero means a wait that has begun to sleep (or is about to return).
    std::size_t Waits() const;

    // Operations
    // Sets the token and wakes every wait on it. False when it was set already. Not for a signal
    // handler: it takes locks.
    bool Set();
    // Clears the token for the next export; only while no thread uses it.
    void Reset() { set_.store(false, std::memory_order_release); }
    // Waits up to `duration`, over at once when the token is set (or already was). True when set.
    bool WaitFor(std::chrono::steady_clock::duration duration) const;

private:
    std::atomic<bool> set_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable woken_;
    mutable std::size_t waits_ = 0;  // under mutex_
    // The wake-ups of the subscriptions, called by Set under mutex_.
    mutable std::list<std::function<void()>> wakeUps_;
};

// While it lives, `wakeUp` is called (on the thread that sets the token, once) when the token is set,
// so that a wait under a lock of its own can end: the wake-up takes that lock and notifies. It must not
// subscribe or unsubscribe itself. Once the destructor has returned, the wake-up is never running.
// A token set before the subscription is not told: the waiter looks at IsSet under its lock first.
class CancelToken::Subscription {
public:
    Subscription(const CancelToken* token, std::function<void()> wakeUp);
    ~Subscription();
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

private:
    const CancelToken* token_;
    std::list<std::function<void()>>::iterator entry_;
};
