#pragma once

#include "appsvc/Win32Api.h"

#include <cstdint>
#include <functional>

#include "appsvc/PooledWorker.h"
#include "runtime/CVolMem.h"

// The pooled-worker list of the application instance, trimmed at idle time. Workers are not owned
// while they sit in the list; a worker taken out of it is handed to its Release operation.
class WorkerPool {
public:
    using TickSource = std::function<std::uint32_t()>;

    static inline constexpr std::uint64_t kSweepInterval = 1000;  // ms
    static inline constexpr std::uint64_t kIdleTimeout = 16000;   // ms

    // Construction. Without a tick source the pool reads GetTickCount.
    explicit WorkerPool(TickSource tickSource = {});
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();  // releases nothing: ShutDown does that

    // Attributes
    std::uint64_t GetSweepInterval() const { return sweepInterval_; }
    std::uint64_t GetMaxIdleWorkers() const { return maxIdleWorkers_; }
    std::uint64_t GetIdleTimeout() const { return idleTimeout_; }
    std::uint64_t GetLastSweep() const;
    int GetCount() const;
    PooledWorker* GetAt(int index) const;  // null outside the list

    // Operations
    void SetTickSource(TickSource tickSource);
    // Appends a worker to the end of the list; null is ignored.
    void Add(PooledWorker* worker);
    // The idle-time sweep: at most once per sweep interval (and at once after the tick counter
    // wrapped), releases finished workers, idle ones unused for the idle timeout, and idle ones beyond
    // the maximum, the latest in the list first. True when a sweep ran.
    bool Sweep();
    // Empties the list and releases every worker, first entry first.
    void ShutDown();

private:
    std::uint32_t Now() const;
    PooledWorker* EntryAt(std::int64_t index) const;
    void RemoveEntryAt(std::int64_t index);
    std::int64_t EntryCount() const;

    mutable CRITICAL_SECTION lock_;
    std::uint64_t sweepInterval_ = kSweepInterval;
    std::uint64_t maxIdleWorkers_;
    std::uint64_t idleTimeout_ = kIdleTimeout;
    std::uint64_t lastSweep_ = 0;
    CVolMem workers_{256};  // 64-bit PooledWorker pointers
    TickSource tickSource_;
};
