#pragma once

#include "appsvc/Win32Api.h"

#include <cstdint>

// A worker kept in the application instance's worker pool. The pool sees only its lock, the tick of
// its last use and its state; what a worker runs is its own business. The pool takes a worker out
// of its list and then calls Release, outside the pool lock; from then on the worker belongs to
// Release.
class PooledWorker {
public:
    static inline constexpr std::int64_t kFinished = 0;
    static inline constexpr std::int64_t kIdle = 2;  // any other value: busy

    // Construction
    PooledWorker();
    PooledWorker(const PooledWorker&) = delete;
    PooledWorker& operator=(const PooledWorker&) = delete;
    virtual ~PooledWorker();  // slot 0

    // Attributes, each read or written under the worker's own lock
    std::int64_t GetState() const;
    void SetState(std::int64_t state);
    std::uint64_t GetLastUsed() const;
    void SetLastUsed(std::uint64_t tick);
    // State and last use read together, as the pool's sweep needs them.
    void ReadStatus(std::int64_t& state, std::uint64_t& lastUsed) const;

    // Overridables
    virtual void Release() = 0;  // slot 1

private:
    mutable CRITICAL_SECTION lock_;
    std::uint64_t lastUsed_ = 0;
    std::int64_t state_ = kFinished;
};
