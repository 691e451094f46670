#include "appsvc/PooledWorker.h"

PooledWorker::PooledWorker() {
    InitializeCriticalSection(&lock_);
}

PooledWorker::~PooledWorker() {
    DeleteCriticalSection(&lock_);
}

std::int64_t PooledWorker::GetState() const {
    EnterCriticalSection(&lock_);
    const std::int64_t state = state_;
    LeaveCriticalSection(&lock_);
    return state;
}

void PooledWorker::SetState(std::int64_t state) {
    EnterCriticalSection(&lock_);
    state_ = state;
    LeaveCriticalSection(&lock_);
}

std::uint64_t PooledWorker::GetLastUsed() const {
    EnterCriticalSection(&lock_);
    const std::uint64_t lastUsed = lastUsed_;
    LeaveCriticalSection(&lock_);
    return lastUsed;
}

void PooledWorker::SetLastUsed(std::uint64_t tick) {
    EnterCriticalSection(&lock_);
    lastUsed_ = tick;
    LeaveCriticalSection(&lock_);
}

void PooledWorker::ReadStatus(std::int64_t& state, std::uint64_t& lastUsed) const {
    EnterCriticalSection(&lock_);
    state = state_;
    lastUsed = lastUsed_;
    LeaveCriticalSection(&lock_);
}
