#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "runtime/CPoolMem.h"
#include "runtime/CVolMem.h"

namespace {

// Most cases use a pool of their own, so the counts do not depend on what else is alive.

std::uintptr_t Address(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

// Takes every free block of `pool` and returns them in the order received.
std::vector<void*> DrainPool(CPoolMem& pool) {
    std::vector<void*> blocks;
    for (;;) {
        void* block = pool.Alloc(1);
        if (!pool.Contains(block)) {
            pool.Free(block);
            return blocks;
        }
        blocks.push_back(block);
    }
}

void FreeAll(CPoolMem& pool, const std::vector<void*>& blocks) {
    for (void* block : blocks) {
        pool.Free(block);
    }
}

TEST(CPoolMem, RequestsUpToTheBlockSizeComeFromTheRegion) {
    struct Case {
        std::size_t size;
        bool fromRegion;
    };
    const Case cases[] = {{0, true}, {1, true}, {255, true}, {256, true}, {257, false}, {4096, false}};
    CPoolMem pool;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        void* block = pool.Alloc(c.size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(pool.Contains(block), c.fromRegion);
        pool.Free(block);
    }
}

TEST(CPoolMem, AFreshPoolHandsOutBlocksFromTheLowestAddressUp) {
    CPoolMem pool;
    const std::uintptr_t start = Address(pool.GetRegionStart());
    EXPECT_EQ(Address(pool.GetRegionEnd()) - start, CPoolMem::kRegionSize);
    for (std::uintptr_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Address(pool.Alloc(8)), start + i * CPoolMem::kBlockSize);
    }
}

TEST(CPoolMem, After16384LiveBlocksSmallRequestsGoToTheHeapUntilOneIsFreed) {
    CPoolMem pool;
    const std::vector<void*> blocks = DrainPool(pool);
    ASSERT_EQ(blocks.size(), CPoolMem::kBlockCount);
    EXPECT_EQ(std::set<void*>(blocks.begin(), blocks.end()).size(), CPoolMem::kBlockCount);

    void* fromHeap = pool.Alloc(16);
    EXPECT_FALSE(pool.Contains(fromHeap));
    pool.Free(fromHeap);

    void* freed = blocks[1234];
    pool.Free(freed);
    EXPECT_EQ(pool.Alloc(16), freed);
    FreeAll(pool, blocks);
}

TEST(CPoolMem, TheLastFreedBlockIsReusedFirst) {
    CPoolMem pool;
    void* first = pool.Alloc(32);
    void* second = pool.Alloc(32);
    pool.Free(first);
    pool.Free(second);
    EXPECT_EQ(pool.Alloc(32), second);
    EXPECT_EQ(pool.Alloc(32), first);
}

TEST(CPoolMem, FreeingAHeapBlockDoesNotFeedTheFreeList) {
    CPoolMem pool;
    void* heapBlock = pool.Alloc(1000);
    ASSERT_FALSE(pool.Contains(heapBlock));
    pool.Free(heapBlock);
    // Had the heap block gone onto the free list, this small request would have received it.
    EXPECT_TRUE(pool.Contains(pool.Alloc(8)));
}

TEST(CPoolMem, GrowingAPoolBlockPastTheBlockSizeMovesItToTheHeapWithItsBytes) {
    CPoolMem pool;
    auto* block = static_cast<unsigned char*>(pool.Alloc(CPoolMem::kBlockSize));
    for (std::size_t i = 0; i < CPoolMem::kBlockSize; ++i) {
        block[i] = static_cast<unsigned char>(i * 7 + 3);
    }
    auto* grown = static_cast<unsigned char*>(pool.Realloc(block, 300));
    EXPECT_FALSE(pool.Contains(grown));
    for (std::size_t i = 0; i < CPoolMem::kBlockSize; ++i) {
        ASSERT_EQ(grown[i], static_cast<unsigned char>(i * 7 + 3)) << "byte " << i;
    }
    EXPECT_EQ(pool.Alloc(8), block) << "the old block is back on the free list";
    pool.Free(grown);
}

TEST(CPoolMem, ResizingAPoolBlockWithinTheBlockSizeKeepsTheBlock) {
    struct Case {
        std::size_t from;
        std::size_t to;
    };
    const Case cases[] = {{100, 10}, {10, 200}, {256, 256}, {1, 0}};
    CPoolMem pool;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        auto* block = static_cast<unsigned char*>(pool.Alloc(c.from));
        if (c.from > 0) {
            block[0] = 0x5A;
        }
        auto* resized = static_cast<unsigned char*>(pool.Realloc(block, c.to));
        EXPECT_EQ(resized, block);
        if (c.from > 0 && c.to > 0) {
            EXPECT_EQ(resized[0], 0x5A);
        }
        pool.Free(resized);
    }
}

TEST(CPoolMem, HeapBlocksAreResizedOnTheHeap) {
    CPoolMem pool;
    auto* block = static_cast<unsigned char*>(pool.Alloc(1000));
    std::memset(block, 0x42, 1000);
    auto* grown = static_cast<unsigned char*>(pool.Realloc(block, 100000));
    EXPECT_FALSE(pool.Contains(grown));
    EXPECT_EQ(grown[999], 0x42);
    auto* shrunk = static_cast<unsigned char*>(pool.Realloc(grown, 10));
    EXPECT_FALSE(pool.Contains(shrunk)) << "a heap block never moves into the region";
    EXPECT_EQ(shrunk[9], 0x42);
    pool.Free(shrunk);
}

TEST(CPoolMem, ReallocOfNullAllocatesAndFreeOfNullIsIgnored) {
    CPoolMem pool;
    void* block = pool.Realloc(nullptr, 24);
    EXPECT_TRUE(pool.Contains(block));
    pool.Free(nullptr);
    pool.Free(block);
    EXPECT_EQ(pool.Alloc(24), block);
}

TEST(CPoolMem, TryLockReportsBusyWhileTheLockIsHeld) {
    CPoolMem pool;
    pool.Lock();
    EXPECT_EQ(pool.TryLock(), CPoolMem::kLockBusy);
    pool.Unlock();
    EXPECT_EQ(pool.TryLock(), 0);
    EXPECT_EQ(pool.TryLock(), CPoolMem::kLockBusy);
    pool.Unlock();
}

TEST(CPoolMem, ConcurrentUseLosesAndDuplicatesNoBlock) {
    CPoolMem pool;
    auto churn = [&pool] {
        std::vector<void*> held;
        for (int round = 0; round < 200; ++round) {
            for (int i = 0; i < 50; ++i) {
                held.push_back(pool.Alloc(64));
            }
            FreeAll(pool, held);
            held.clear();
        }
    };
    std::thread a(churn);
    std::thread b(churn);
    a.join();
    b.join();
    EXPECT_EQ(pool.FreeBlockCount(), static_cast<std::int64_t>(CPoolMem::kBlockCount));
    const std::vector<void*> blocks = DrainPool(pool);
    EXPECT_EQ(pool.FreeBlockCount(), 0);
    EXPECT_EQ(std::set<void*>(blocks.begin(), blocks.end()).size(), CPoolMem::kBlockCount);
    EXPECT_EQ(blocks.size(), CPoolMem::kBlockCount);
    FreeAll(pool, blocks);
}

TEST(CPoolMem, AFreeListBrokenByAStrayFreeIsNotCounted) {
    CPoolMem pool;
    void* block = pool.Alloc(16);
    EXPECT_EQ(pool.FreeBlockCount(), static_cast<std::int64_t>(CPoolMem::kBlockCount) - 1);
    pool.Free(block);
    pool.Free(block);  // the block now leads to itself
    EXPECT_EQ(pool.FreeBlockCount(), -1);
}

TEST(CPoolMem, InstanceIsOneProcessWidePoolBehindEveryLibraryObject) {
    CPoolMem& pool = CPoolMem::Instance();
    EXPECT_EQ(&pool, &CPoolMem::Instance());
    auto* buffer = new CVolMem;
    EXPECT_TRUE(pool.Contains(buffer));
    buffer->SetSize(10);
    EXPECT_TRUE(pool.Contains(buffer->GetData()));
    buffer->Destroy();
}

TEST(CPoolMem, TheProcessPoolFallsBackToTheHeapWhenDrained) {
    CPoolMem& pool = CPoolMem::Instance();
    const std::vector<void*> blocks = DrainPool(pool);
    EXPECT_LE(blocks.size(), CPoolMem::kBlockCount);
    void* fromHeap = pool.Alloc(8);
    EXPECT_FALSE(pool.Contains(fromHeap));
    pool.Free(fromHeap);
    FreeAll(pool, blocks);
}

#if defined(__SANITIZE_ADDRESS__)
#define MORVANE_POOL_TESTS_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVANE_POOL_TESTS_UNDER_ASAN 1
#endif
#endif

#ifdef MORVANE_POOL_TESTS_UNDER_ASAN
// The sanitizer must still see faults inside pool blocks.

TEST(CPoolMemDeathTest, UseOfAFreedPoolBlockIsReported) {
    CPoolMem pool;
    auto* block = static_cast<volatile unsigned char*>(pool.Alloc(64));
    pool.Free(const_cast<unsigned char*>(block));
    EXPECT_DEATH(block[10] = 1, "use-after-poison");
}

TEST(CPoolMemDeathTest, WritingPastTheRequestedSizeIsReported) {
    CPoolMem pool;
    auto* block = static_cast<volatile unsigned char*>(pool.Alloc(64));
    block[63] = 1;
    EXPECT_DEATH(block[64] = 1, "use-after-poison");
}

TEST(CPoolMemDeathTest, ShrinkingABlockPoisonsItsTail) {
    CPoolMem pool;
    auto* block = static_cast<volatile unsigned char*>(pool.Alloc(200));
    block = static_cast<volatile unsigned char*>(pool.Realloc(const_cast<unsigned char*>(block), 16));
    block[15] = 1;
    EXPECT_DEATH(block[100] = 1, "use-after-poison");
}
#endif

}  // namespace
