#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>

#include "runtime/CPoolMem.h"
#include "runtime/CVolMem.h"
#include "runtime/ExitOnOutOfMemory.h"

namespace {

// Exit code -1 as the parent sees it: the full 32-bit value on Windows, its low byte on POSIX.
#ifdef _WIN32
inline constexpr int kFatalExitCode = -1;
#else
inline constexpr int kFatalExitCode = 255;
#endif

// More than any heap can give.
inline constexpr std::size_t kImpossibleSize = std::numeric_limits<std::size_t>::max() / 2;

TEST(ExitOnOutOfMemoryDeathTest, EndsTheProcessWithMinusOneAndNoMessage) {
    EXPECT_EXIT(ExitOnOutOfMemory(), testing::ExitedWithCode(kFatalExitCode), "^$");
}

TEST(ExitOnOutOfMemoryDeathTest, AllocOfAnImpossibleSizeEndsTheProcess) {
    EXPECT_EXIT(CPoolMem::Instance().Alloc(kImpossibleSize), testing::ExitedWithCode(kFatalExitCode), "");
}

TEST(ExitOnOutOfMemoryDeathTest, ReallocOfAHeapBlockToAnImpossibleSizeEndsTheProcess) {
    EXPECT_EXIT(
        {
            void* block = CPoolMem::Instance().Alloc(1000);
            CPoolMem::Instance().Realloc(block, kImpossibleSize);
        },
        testing::ExitedWithCode(kFatalExitCode), "");
}

TEST(ExitOnOutOfMemoryDeathTest, GrowingAPoolBlockToAnImpossibleSizeEndsTheProcess) {
    EXPECT_EXIT(
        {
            void* block = CPoolMem::Instance().Alloc(16);
            CPoolMem::Instance().Realloc(block, kImpossibleSize);
        },
        testing::ExitedWithCode(kFatalExitCode), "");
}

TEST(ExitOnOutOfMemoryDeathTest, ABufferSizeBeyondAnyCapacityEndsTheProcess) {
    EXPECT_EXIT(
        {
            CVolMem buffer;
            buffer.SetSize(1);
            buffer.SetSize(std::numeric_limits<std::int64_t>::max());
        },
        testing::ExitedWithCode(kFatalExitCode), "");
}

TEST(ExitOnOutOfMemory, TryAllocReportsAnImpossibleSizeAsNull) {
    EXPECT_EQ(CPoolMem::Instance().TryAlloc(kImpossibleSize), nullptr);
}

}  // namespace
