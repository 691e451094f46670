#include "runtime/CPoolMem.h"

#include <cstring>
#include <thread>

#include "runtime/ExitOnOutOfMemory.h"

#if defined(__SANITIZE_ADDRESS__)
#define MORVANE_POOL_POISONING 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVANE_POOL_POISONING 1
#endif
#endif

#ifdef MORVANE_POOL_POISONING
#include <sanitizer/asan_interface.h>
#endif

namespace {

// Marks bytes the owner of a pool block may not touch: free blocks and the tail past the request.
void PoisonBytes([[maybe_unused]] void* start, [[maybe_unused]] std::size_t count) {
#ifdef MORVANE_POOL_POISONING
    ASAN_POISON_MEMORY_REGION(start, count);
#endif
}

void UnpoisonBytes([[maybe_unused]] void* start, [[maybe_unused]] std::size_t count) {
#ifdef MORVANE_POOL_POISONING
    ASAN_UNPOISON_MEMORY_REGION(start, count);
#endif
}

// Hands a pool block to a caller who asked for `size` bytes.
void ExposeBlock(unsigned char* block, std::size_t size) {
    UnpoisonBytes(block, CPoolMem::kBlockSize);
    PoisonBytes(block + size, CPoolMem::kBlockSize - size);
}

}  // namespace

CPoolMem::CPoolMem() {
    regionStart_ = static_cast<unsigned char*>(HeapAllocate(kRegionSize));
    if (regionStart_ == nullptr) {
        ExitOnOutOfMemory();
    }
    regionEnd_ = regionStart_ + kRegionSize;
    // Thread the blocks in address order, so that the first allocations come from the lowest addresses.
    for (std::size_t i = 0; i < kBlockCount; ++i) {
        unsigned char* block = regionStart_ + i * kBlockSize;
        void* next = (i + 1 < kBlockCount) ? block + kBlockSize : nullptr;
        std::memcpy(block, &next, sizeof next);
    }
    freeHead_ = regionStart_;
    PoisonBytes(regionStart_, kRegionSize);
}

CPoolMem::~CPoolMem() {
    UnpoisonBytes(regionStart_, kRegionSize);
    HeapRelease(regionStart_);
}

CPoolMem& CPoolMem::Instance() {
    // Deliberately never destroyed: objects with static storage duration may still give blocks back
    // while the process ends, after any destructor of the pool would have run. The system reclaims
    // the region with the process.
    static CPoolMem* const pool = new CPoolMem;
    return *pool;
}

bool CPoolMem::Contains(const void* block) const {
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    return address >= reinterpret_cast<std::uintptr_t>(regionStart_) &&
           address < reinterpret_cast<std::uintptr_t>(regionEnd_);
}

void* CPoolMem::TryAlloc(std::size_t size) {
    if (size <= static_cast<std::size_t>(blockSize_)) {
        if (void* block = PopBlock(size)) {
            return block;
        }
    }
    return HeapAllocate(size);
}

void* CPoolMem::Alloc(std::size_t size) {
    void* block = TryAlloc(size);
    if (block == nullptr) {
        ExitOnOutOfMemory();
    }
    return block;
}

void* CPoolMem::Realloc(void* block, std::size_t size) {
    // The heap cannot resize "nothing"; a null block is a fresh allocation.
    if (block == nullptr) {
        return Alloc(size);
    }
    if (!Contains(block)) {
        void* resized = HeapResize(block, size);
        if (resized == nullptr) {
            ExitOnOutOfMemory();
        }
        return resized;
    }
    auto* poolBlock = static_cast<unsigned char*>(block);
    if (size <= kBlockSize) {
        ExposeBlock(poolBlock, size);
        return block;
    }
    void* grown = HeapAllocate(size);
    if (grown == nullptr) {
        ExitOnOutOfMemory();
    }
    UnpoisonBytes(poolBlock, kBlockSize);
    std::memcpy(grown, poolBlock, kBlockSize);
    PushBlock(poolBlock);
    return grown;
}

void CPoolMem::Free(void* block) {
    if (block == nullptr) {
        return;
    }
    if (Contains(block)) {
        PushBlock(block);
    } else {
        HeapRelease(block);
    }
}

void* CPoolMem::PopBlock(std::size_t size) {
    Lock();
    auto* block = static_cast<unsigned char*>(freeHead_);
    if (block != nullptr) {
        UnpoisonBytes(block, sizeof(void*));
        std::memcpy(&freeHead_, block, sizeof(void*));
        ExposeBlock(block, size);
    }
    Unlock();
    return block;
}

void CPoolMem::PushBlock(void* block) {
    Lock();
    UnpoisonBytes(block, sizeof(void*));
    std::memcpy(block, &freeHead_, sizeof(void*));
    freeHead_ = block;
    PoisonBytes(block, kBlockSize);
    Unlock();
}

std::int64_t CPoolMem::FreeBlockCount() {
    Lock();
    std::int64_t count = 0;
    for (void* block = freeHead_; block != nullptr;) {
        if (!Contains(block) || ++count > static_cast<std::int64_t>(kBlockCount)) {
            count = -1;
            break;
        }
        UnpoisonBytes(block, sizeof(void*));
        void* next = nullptr;
        std::memcpy(&next, block, sizeof(void*));
        PoisonBytes(block, sizeof(void*));
        block = next;
    }
    Unlock();
    return count;
}

void CPoolMem::Lock() {
    for (;;) {
        if (lockWord_.fetch_sub(1, std::memory_order_acquire) == 1) {
            return;
        }
        while (lockWord_.load(std::memory_order_relaxed) <= 0) {
            std::this_thread::yield();
        }
    }
}

void CPoolMem::Unlock() {
    lockWord_.store(1, std::memory_order_release);
}

int CPoolMem::TryLock() {
    std::int64_t expected = 1;
    return lockWord_.compare_exchange_strong(expected, 0, std::memory_order_acquire) ? 0 : kLockBusy;
}
