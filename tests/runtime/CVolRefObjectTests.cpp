#include <gtest/gtest.h>

#include "runtime/CVolRefObject.h"
#include "runtime/CWString.h"

namespace {

// A plain shared object; the tests watch its count.
CRefObject* NewShared() {
    return new CRefObject;
}

TEST(CVolRefObject, CopiesShareTheObjectAndCountTheirReference) {
    CRefObject* shared = NewShared();
    shared->AddRef();  // the test's own reference, so the object can be watched to the end
    {
        CVolRefObject holder(shared);
        EXPECT_EQ(shared->GetRefCount(), 2);
        {
            const CVolRefObject copy(holder);
            EXPECT_EQ(copy.GetRef(), shared);
            EXPECT_EQ(shared->GetRefCount(), 3);
        }
        EXPECT_EQ(shared->GetRefCount(), 2);
    }
    EXPECT_EQ(shared->GetRefCount(), 1);
    EXPECT_EQ(shared->Release(), 1);
}

TEST(CVolRefObject, AssignTakesTheNewReferenceAndReleasesTheOld) {
    CRefObject* first = NewShared();
    CRefObject* second = NewShared();
    first->AddRef();
    second->AddRef();
    {
        CVolRefObject target(first);
        CVolRefObject source(second);
        source.SetTag(11);
        EXPECT_TRUE(target.Assign(source));
        EXPECT_EQ(target.GetRef(), second);
        EXPECT_EQ(target.GetTag(), 11u);
        EXPECT_EQ(first->GetRefCount(), 1);
        EXPECT_EQ(second->GetRefCount(), 3);
        EXPECT_TRUE(target.Assign(target));
        EXPECT_EQ(second->GetRefCount(), 3) << "assigning to itself keeps one reference";
    }
    EXPECT_EQ(first->Release(), 1);
    EXPECT_EQ(second->Release(), 1);
}

TEST(CVolRefObject, EqualityIsIdentityOfTheSharedObject) {
    CVolRefObject one(NewShared());
    const CVolRefObject sameObject(one);
    const CVolRefObject other(NewShared());
    EXPECT_TRUE(one.IsEqual(sameObject));
    EXPECT_FALSE(one.IsEqual(other));
    EXPECT_TRUE(CVolRefObject().IsEqual(CVolRefObject()));
    one.SetTag(1);
    EXPECT_FALSE(one.IsEqual(sameObject));
}

TEST(CVolRefObject, ResetReleasesAndHoldsNothing) {
    CRefObject* shared = NewShared();
    shared->AddRef();
    CVolRefObject holder(shared);
    holder.SetTag(4);
    holder.Reset();
    EXPECT_EQ(holder.GetRef(), nullptr);
    EXPECT_EQ(holder.GetTag(), 0u);
    EXPECT_EQ(shared->Release(), 1);
}

TEST(CVolRefObject, AssignFromAnotherClassIsRefused) {
    CRefObject* shared = NewShared();
    CVolRefObject holder(shared);
    EXPECT_FALSE(holder.Assign(CWString(u"x")));
    EXPECT_EQ(holder.GetRef(), shared);
}

}  // namespace
