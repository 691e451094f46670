#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "runtime/CPoolMem.h"
#include "runtime/CRefObject.h"
#include "runtime/CVolObject.h"

// Reports its final release and its destruction to the test that made it.
class CReleaseProbe : public CRefObject {
public:
    struct Log {
        int finalReleases = 0;
        int destructions = 0;
        bool destroyedAfterFinalRelease = false;
    };

    explicit CReleaseProbe(Log& log) : log_(log) {}

    static const CVolClassInfo& ClassInfo() {
        static const CVolClassInfo info("Tests::CReleaseProbe", &CRefObject::ClassInfo());
        return info;
    }
    const CVolClassInfo& GetClassInfo() const override { return ClassInfo(); }

protected:
    ~CReleaseProbe() override {
        ++log_.destructions;
        log_.destroyedAfterFinalRelease = log_.finalReleases == 1;
    }
    void OnFinalRelease() override { ++log_.finalReleases; }

private:
    Log& log_;
};

namespace {

TEST(CRefObject, OnlyTheLastReleaseDeletesTheObject) {
    CReleaseProbe::Log log;
    auto* object = new CReleaseProbe(log);
    EXPECT_TRUE(CPoolMem::Instance().Contains(object));
    EXPECT_EQ(object->GetRefCount(), 1);
    object->AddRef();
    EXPECT_EQ(object->GetRefCount(), 2);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(log.destructions, 0);
    EXPECT_EQ(object->GetRefCount(), 1);
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(log.finalReleases, 1);
    EXPECT_EQ(log.destructions, 1);
    EXPECT_TRUE(log.destroyedAfterFinalRelease);
}

TEST(CRefObject, ReleasingNullDoesNothing) {
    EXPECT_EQ(ReleaseObject(nullptr), 0);
}

TEST(CRefObject, IsKindOfFollowsTheRefObjectTreeOnly) {
    CReleaseProbe::Log log;
    auto* object = new CReleaseProbe(log);
    EXPECT_TRUE(object->IsKindOf(CReleaseProbe::ClassInfo()));
    EXPECT_TRUE(object->IsKindOf(CRefObject::ClassInfo()));
    EXPECT_FALSE(object->IsKindOf(CVolObject::ClassInfo()));
    EXPECT_EQ(CRefObject::ClassInfo().GetCreator(), nullptr) << "shared objects are not value objects";
    ReleaseObject(object);
}

TEST(CRefObject, CountsStayExactUnderConcurrentAddRefAndRelease) {
    CReleaseProbe::Log log;
    auto* object = new CReleaseProbe(log);
    auto churn = [object] {
        for (int i = 0; i < 20000; ++i) {
            object->AddRef();
        }
        for (int i = 0; i < 20000; ++i) {
            object->Release();
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back(churn);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(object->GetRefCount(), 1);
    EXPECT_EQ(log.destructions, 0);
    EXPECT_EQ(object->Release(), 1);
}

}  // namespace
