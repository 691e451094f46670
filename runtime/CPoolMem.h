#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// The process-wide memory pool: one region of 16384 blocks of 256 bytes taken from the process heap,
// with the process heap itself behind it for larger requests and for when every block is in use.
// Every library object and buffer gets its memory here (through the memory-manager operations of
// CVolCommonBaseWithMemManager).
//
// Under AddressSanitizer free blocks and the unused tail of each handed-out block are poisoned, so
// use-after-free and overflow inside pool blocks are still reported.
class CPoolMem {
public:
    static inline constexpr std::size_t kBlockSize = 256;
    static inline constexpr std::size_t kBlockCount = 16384;
    static inline constexpr std::size_t kRegionSize = kBlockSize * kBlockCount;  // 4 MiB
    static inline constexpr int kLockBusy = 16;

    // Construction. The constructor takes the region from the process heap and ends the process with
    // exit code -1 when it cannot. The program uses the one instance of Instance(); separate pools
    // exist only where a caller wants memory it can account for by itself.
    CPoolMem();
    ~CPoolMem();
    CPoolMem(const CPoolMem&) = delete;
    CPoolMem& operator=(const CPoolMem&) = delete;

    // The process-wide pool, created on first use and kept until the process ends.
    static CPoolMem& Instance();

    // Attributes
    bool Contains(const void* block) const;
    const void* GetRegionStart() const { return regionStart_; }
    const void* GetRegionEnd() const { return regionEnd_; }
    // The blocks on the free list now, counted under the lock: a balance to check that everything taken
    // was given back. A list broken by a stray free (a cycle, a block outside the region) counts as -1.
    std::int64_t FreeBlockCount();

    // Operations. Alloc and Realloc end the process with exit code -1 when the heap fails; TryAlloc
    // returns null instead. Free ignores null.
    void* Alloc(std::size_t size);
    void* TryAlloc(std::size_t size);
    void* Realloc(void* block, std::size_t size);
    void Free(void* block);

    // The spin lock guarding the free list. TryLock returns 0 when it took the lock, kLockBusy when
    // another holder has it.
    void Lock();
    void Unlock();
    int TryLock();

private:
    void* PopBlock(std::size_t size);
    void PushBlock(void* block);

    // The process heap (HeapAlloc family on Windows, malloc family elsewhere).
    static void* HeapAllocate(std::size_t size);
    static void* HeapResize(void* block, std::size_t size);
    static void HeapRelease(void* block);

    unsigned char* regionStart_ = nullptr;
    unsigned char* regionEnd_ = nullptr;
    void* freeHead_ = nullptr;  // each free block keeps the next one's address in its first bytes
    std::int64_t blockSize_ = kBlockSize;
    std::atomic<std::int64_t> lockWord_{1};  // 1 free, anything else held
};
