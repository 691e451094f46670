#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "appsvc/WorkerPool.h"

namespace {

// A worker whose release is logged by identity instead of freeing anything.
class TestWorker : public PooledWorker {
public:
    TestWorker(int id, std::vector<int>& releases, std::int64_t state, std::uint64_t lastUsed)
        : id_(id), releases_(releases) {
        SetState(state);
        SetLastUsed(lastUsed);
    }
    void Release() override { releases_.push_back(id_); }

private:
    int id_;
    std::vector<int>& releases_;
};

class WorkerPoolTest : public ::testing::Test {
protected:
    WorkerPool pool{[this] { return now; }};
    std::uint32_t now = 100000;
    std::vector<int> releases;
    std::vector<std::unique_ptr<TestWorker>> workers;

    TestWorker* AddWorker(std::int64_t state, std::uint64_t lastUsed) {
        workers.push_back(
            std::make_unique<TestWorker>(static_cast<int>(workers.size()), releases, state, lastUsed));
        pool.Add(workers.back().get());
        return workers.back().get();
    }
    void TearDown() override { pool.ShutDown(); }
};

}  // namespace

TEST_F(WorkerPoolTest, SweepsAtMostOncePerInterval) {
    ASSERT_TRUE(pool.Sweep());
    EXPECT_EQ(pool.GetLastSweep(), now);
    AddWorker(PooledWorker::kFinished, 0);

    now += 999;
    EXPECT_FALSE(pool.Sweep());
    EXPECT_EQ(pool.GetCount(), 1);
    EXPECT_TRUE(releases.empty());

    now += 1;  // exactly one interval later
    EXPECT_TRUE(pool.Sweep());
    EXPECT_EQ(pool.GetCount(), 0);
    EXPECT_EQ(releases, std::vector<int>{0});
}

TEST_F(WorkerPoolTest, SweepsAtOnceAfterTheTickCounterWraps) {
    now = 0xFFFFFF00u;
    ASSERT_TRUE(pool.Sweep());
    AddWorker(PooledWorker::kFinished, 0);

    now = 10;  // 266 ms later, but the counter wrapped
    EXPECT_TRUE(pool.Sweep());
    EXPECT_EQ(pool.GetLastSweep(), 10u);
    EXPECT_EQ(releases, std::vector<int>{0});
}

TEST_F(WorkerPoolTest, KeepsRecentIdleAndBusyWorkersAndReleasesTheRest) {
    const struct {
        const char* what;
        std::int64_t state;
        std::int64_t usedBeforeNow;  // negative: used "after" now
        bool released;
    } cases[] = {
        {"idle, just used", PooledWorker::kIdle, 0, false},
        {"idle, 15999 ms", PooledWorker::kIdle, 15999, false},
        {"idle, 16000 ms", PooledWorker::kIdle, 16000, true},
        {"idle, used later than now", PooledWorker::kIdle, -1, true},
        {"finished", PooledWorker::kFinished, 0, true},
        {"busy (1)", 1, 100000, false},
        {"busy (3)", 3, 0, false},
        {"busy (-1)", -1, 0, false},
    };
    for (const auto& c : cases) {
        AddWorker(c.state, static_cast<std::uint64_t>(static_cast<std::int64_t>(now) - c.usedBeforeNow));
    }

    ASSERT_TRUE(pool.Sweep());
    // Removed while walking from the end: later entries are released first.
    std::vector<int> expectedReleases;
    std::vector<PooledWorker*> expectedKept;
    for (int i = static_cast<int>(std::size(cases)) - 1; i >= 0; --i) {
        if (cases[i].released) {
            expectedReleases.push_back(i);
        }
    }
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        if (!cases[i].released) {
            expectedKept.push_back(workers[i].get());
        }
    }
    EXPECT_EQ(releases, expectedReleases);
    ASSERT_EQ(pool.GetCount(), static_cast<int>(expectedKept.size()));
    for (int i = 0; i < pool.GetCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pool.GetAt(i), expectedKept[i]);
    }
}

TEST_F(WorkerPoolTest, ExcessIdleWorkersAreReleasedFromTheEndOfTheList) {
    const int idle = static_cast<int>(pool.GetMaxIdleWorkers()) + 2;  // 2 x processors + 4
    for (int i = 0; i < idle; ++i) {
        AddWorker(PooledWorker::kIdle, now - 10);
    }

    ASSERT_TRUE(pool.Sweep());
    EXPECT_EQ(releases, (std::vector<int>{idle - 1, idle - 2}));
    EXPECT_EQ(pool.GetCount(), idle - 2);
    EXPECT_EQ(pool.GetAt(idle - 3), workers[idle - 3].get());
}

TEST_F(WorkerPoolTest, ExcessCountSkipsBusyWorkersAtTheEnd) {
    const int idle = static_cast<int>(pool.GetMaxIdleWorkers()) + 1;
    for (int i = 0; i < idle; ++i) {
        AddWorker(PooledWorker::kIdle, now);
    }
    AddWorker(1, now);  // busy, last in the list: neither counted nor released

    ASSERT_TRUE(pool.Sweep());
    EXPECT_EQ(releases, std::vector<int>{idle - 1});
    EXPECT_EQ(pool.GetCount(), idle);
}

TEST_F(WorkerPoolTest, IdleWorkersUpToTheMaximumAreAllKept) {
    const int idle = static_cast<int>(pool.GetMaxIdleWorkers());
    for (int i = 0; i < idle; ++i) {
        AddWorker(PooledWorker::kIdle, now);
    }
    ASSERT_TRUE(pool.Sweep());
    EXPECT_TRUE(releases.empty());
    EXPECT_EQ(pool.GetCount(), idle);
}

TEST_F(WorkerPoolTest, ShutDownReleasesEveryWorkerFirstEntryFirst) {
    ASSERT_TRUE(pool.Sweep());
    AddWorker(PooledWorker::kIdle, now);
    AddWorker(1, now);
    AddWorker(PooledWorker::kFinished, now);

    pool.ShutDown();
    EXPECT_EQ(releases, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(pool.GetCount(), 0);
    EXPECT_EQ(pool.GetLastSweep(), 0u);
}
