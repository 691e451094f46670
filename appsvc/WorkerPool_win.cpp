#include <cstring>
#include <utility>

#include "appsvc/WorkerPool.h"

namespace {

std::uint64_t ProcessorCount() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors;
}

// Workers taken out of the list under the pool lock, released after it has been left.
class ReleaseList {
public:
    ReleaseList() : workers_(256) {}
    void Append(PooledWorker* worker) { workers_.Append(&worker, sizeof worker); }
    void ReleaseAll() {
        const std::int64_t count = workers_.GetSize() / static_cast<std::int64_t>(sizeof(PooledWorker*));
        for (std::int64_t i = 0; i < count; ++i) {
            PooledWorker* worker = nullptr;
            std::memcpy(&worker, workers_.GetData() + i * sizeof worker, sizeof worker);
            worker->Release();
        }
        workers_.Empty();
    }

private:
    CVolMem workers_;
};

}  // namespace

WorkerPool::WorkerPool(TickSource tickSource)
    : maxIdleWorkers_(2 * ProcessorCount() + 2), tickSource_(std::move(tickSource)) {
    InitializeCriticalSection(&lock_);
}

WorkerPool::~WorkerPool() {
    DeleteCriticalSection(&lock_);
}

std::uint64_t WorkerPool::GetLastSweep() const {
    EnterCriticalSection(&lock_);
    const std::uint64_t lastSweep = lastSweep_;
    LeaveCriticalSection(&lock_);
    return lastSweep;
}

int WorkerPool::GetCount() const {
    EnterCriticalSection(&lock_);
    const auto count = static_cast<int>(EntryCount());
    LeaveCriticalSection(&lock_);
    return count;
}

PooledWorker* WorkerPool::GetAt(int index) const {
    EnterCriticalSection(&lock_);
    PooledWorker* worker = index >= 0 && index < EntryCount() ? EntryAt(index) : nullptr;
    LeaveCriticalSection(&lock_);
    return worker;
}

void WorkerPool::SetTickSource(TickSource tickSource) {
    tickSource_ = std::move(tickSource);
}

void WorkerPool::Add(PooledWorker* worker) {
    if (worker == nullptr) {
        return;
    }
    EnterCriticalSection(&lock_);
    workers_.Append(&worker, sizeof worker);
    LeaveCriticalSection(&lock_);
}

bool WorkerPool::Sweep() {
    const std::uint64_t now = Now();
    ReleaseList released;

    EnterCriticalSection(&lock_);
    // A tick below the last sweep means the 32-bit counter wrapped: sweep at once.
    if (now >= lastSweep_ && now - lastSweep_ < sweepInterval_) {
        LeaveCriticalSection(&lock_);
        return false;
    }
    lastSweep_ = now;

    std::uint64_t kept = 0;
    for (std::int64_t i = EntryCount() - 1; i >= 0; --i) {
        PooledWorker* worker = EntryAt(i);
        std::int64_t state = 0;
        std::uint64_t lastUsed = 0;
        worker->ReadStatus(state, lastUsed);
        if (state == PooledWorker::kIdle && now >= lastUsed && now - lastUsed < idleTimeout_) {
            ++kept;
            continue;
        }
        if (state != PooledWorker::kIdle && worker->GetState() != PooledWorker::kFinished) {
            continue;  // busy
        }
        released.Append(worker);
        RemoveEntryAt(i);
    }

    if (kept > maxIdleWorkers_) {
        for (std::int64_t i = EntryCount() - 1; i >= 0 && kept > maxIdleWorkers_; --i) {
            PooledWorker* worker = EntryAt(i);
            if (worker->GetState() == PooledWorker::kIdle) {
                released.Append(worker);
                RemoveEntryAt(i);
                --kept;
            }
        }
    }
    LeaveCriticalSection(&lock_);

    // Never under the pool lock: a worker's release may take time or touch the pool.
    released.ReleaseAll();
    return true;
}

void WorkerPool::ShutDown() {
    ReleaseList released;
    EnterCriticalSection(&lock_);
    lastSweep_ = 0;
    const std::int64_t count = EntryCount();
    for (std::int64_t i = 0; i < count; ++i) {
        released.Append(EntryAt(i));
    }
    workers_.Empty();
    LeaveCriticalSection(&lock_);
    released.ReleaseAll();
}

std::uint32_t WorkerPool::Now() const {
    return tickSource_ ? tickSource_() : GetTickCount();
}

PooledWorker* WorkerPool::EntryAt(std::int64_t index) const {
    PooledWorker* worker = nullptr;
    std::memcpy(&worker, workers_.GetData() + index * static_cast<std::int64_t>(sizeof worker),
                sizeof worker);
    return worker;
}

void WorkerPool::RemoveEntryAt(std::int64_t index) {
    workers_.RemoveRange(index * static_cast<std::int64_t>(sizeof(PooledWorker*)), sizeof(PooledWorker*));
}

std::int64_t WorkerPool::EntryCount() const {
    return workers_.GetSize() / static_cast<std::int64_t>(sizeof(PooledWorker*));
}
