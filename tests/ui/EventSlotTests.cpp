#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "EventRecorder.h"
#include "ui/EventSlot.h"

namespace {

using IntSlot = EventSlot<std::int32_t, std::int32_t>;

std::int32_t RecordSum(CVolObject* target, CVolWinControl* sender, std::uint32_t extra, std::int32_t a,
                       std::int32_t b) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.lastSender = sender;
    recorder.Add("sum " + std::to_string(a + b) + " extra " + std::to_string(extra));
    return recorder.answer;
}

std::int32_t RecordOther(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t, std::int32_t) {
    EventRecorder::Of(target).Add("other");
    return 7;
}

TEST(EventSlot, UnboundSlotCallsNothingAndYieldsZero) {
    IntSlot slot;
    EXPECT_FALSE(slot.IsBound());
    EXPECT_EQ(slot.Raise(nullptr, 1, 2), 0);
    std::int32_t result = 99;
    EXPECT_FALSE(slot.TryRaise(result, nullptr, 1, 2));
    EXPECT_EQ(result, 99);
}

TEST(EventSlot, RaiseCallsTheHandlerWithTargetSenderExtraAndArguments) {
    EventRecorder recorder;
    recorder.answer = 5;
    IntSlot slot;
    slot.Bind(&RecordSum, recorder.Holder());
    auto* sender = reinterpret_cast<CVolWinControl*>(&recorder);  // only compared, never used
    EXPECT_EQ(slot.Raise(sender, 2, 3), 5);
    EXPECT_EQ(recorder.entries, std::vector<std::string>{"sum 5 extra 0"});
    EXPECT_EQ(recorder.lastSender, sender);
}

TEST(EventSlot, BindingTheSameHolderTwiceKeepsOneReference) {
    EventRecorder recorder;
    const std::int64_t before = recorder.Holder()->GetRefCount();
    IntSlot slot;
    slot.Bind(&RecordSum, recorder.Holder());
    EXPECT_EQ(recorder.Holder()->GetRefCount(), before + 1);
    slot.Bind(&RecordOther, recorder.Holder());
    EXPECT_EQ(recorder.Holder()->GetRefCount(), before + 1);
    // The handler was replaced all the same.
    EXPECT_EQ(slot.Raise(nullptr, 0, 0), 7);
}

TEST(EventSlot, RebindingToAnotherHolderReleasesThePrevious) {
    EventRecorder first;
    EventRecorder second;
    const std::int64_t firstBefore = first.Holder()->GetRefCount();
    IntSlot slot;
    slot.Bind(&RecordSum, first.Holder());
    slot.Bind(&RecordSum, second.Holder());
    EXPECT_EQ(first.Holder()->GetRefCount(), firstBefore);
    EXPECT_EQ(slot.GetHolder(), second.Holder());
    slot.Raise(nullptr, 1, 1);
    EXPECT_TRUE(first.entries.empty());
    EXPECT_EQ(second.entries.size(), 1u);
}

TEST(EventSlot, BindingNullUnbindsAndReleases) {
    EventRecorder recorder;
    const std::int64_t before = recorder.Holder()->GetRefCount();
    IntSlot slot;
    slot.Bind(&RecordSum, recorder.Holder());
    slot.Bind(&RecordSum, nullptr);
    EXPECT_FALSE(slot.IsBound());
    EXPECT_EQ(recorder.Holder()->GetRefCount(), before);
    EXPECT_EQ(slot.Raise(nullptr, 1, 1), 0);
    EXPECT_TRUE(recorder.entries.empty());
}

TEST(EventSlot, DestroyingTheSlotReleasesItsReference) {
    EventRecorder recorder;
    const std::int64_t before = recorder.Holder()->GetRefCount();
    {
        IntSlot slot;
        slot.Bind(&RecordSum, recorder.Holder());
    }
    EXPECT_EQ(recorder.Holder()->GetRefCount(), before);
}

TEST(EventSlot, ClearedTargetReceivesNothingAndYieldsZero) {
    EventRecorder recorder;
    recorder.answer = 9;
    IntSlot slot;
    slot.Bind(&RecordSum, recorder.Holder());
    recorder.Holder()->ClearTarget();
    std::int32_t result = 0;
    EXPECT_FALSE(slot.TryRaise(result, nullptr, 1, 1));
    EXPECT_EQ(slot.Raise(nullptr, 1, 1), 0);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(recorder.Holder()->GetInCallCount(), 0);
}

TEST(EventSlot, RaiseKeepsTheHolderAliveAndGivesItsReferenceBack) {
    EventRecorder recorder;
    IntSlot slot;
    slot.Bind(&RecordSum, recorder.Holder());
    const std::int64_t bound = recorder.Holder()->GetRefCount();
    slot.Raise(nullptr, 1, 1);
    EXPECT_EQ(recorder.Holder()->GetRefCount(), bound);
}

// A handler that raises another event of the same target runs inside the first call.
IntSlot* nestedSlot = nullptr;

std::int32_t RaiseNested(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t depth,
                         std::int32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Add("depth " + std::to_string(depth) + " calls " +
                 std::to_string(recorder.Holder()->GetInCallCount()));
    if (depth < 2) {
        nestedSlot->Raise(nullptr, depth + 1, 0);
    }
    return depth;
}

TEST(EventSlot, NestedRaisesOfOneTargetAllRunAndBalanceTheCounter) {
    EventRecorder recorder;
    IntSlot slot;
    nestedSlot = &slot;
    slot.Bind(&RaiseNested, recorder.Holder());
    EXPECT_EQ(slot.Raise(nullptr, 0, 0), 0);
    EXPECT_EQ(recorder.entries,
              (std::vector<std::string>{"depth 0 calls 1", "depth 1 calls 2", "depth 2 calls 3"}));
    EXPECT_EQ(recorder.Holder()->GetInCallCount(), 0);
}

std::int32_t ClearOwnTarget(CVolObject* target, CVolWinControl*, std::uint32_t, std::int32_t, std::int32_t) {
    EventRecorder& recorder = EventRecorder::Of(target);
    recorder.Holder()->ClearTarget();
    recorder.Add("cleared");
    return 1;
}

TEST(EventSlot, HandlerTearingDownItsTargetStopsLaterEvents) {
    EventRecorder recorder;
    IntSlot slot;
    slot.Bind(&ClearOwnTarget, recorder.Holder());
    EXPECT_EQ(slot.Raise(nullptr, 0, 0), 1);
    EXPECT_EQ(slot.Raise(nullptr, 0, 0), 0);
    EXPECT_EQ(recorder.entries.size(), 1u);
    EXPECT_EQ(recorder.Holder()->GetInCallCount(), 0);
}

std::int32_t Throw(CVolObject*, CVolWinControl*, std::uint32_t, std::int32_t, std::int32_t) {
    throw std::runtime_error("handler failed");
}

TEST(EventSlot, HandlerExceptionLeavesTheHolderUsable) {
    EventRecorder recorder;
    IntSlot slot;
    slot.Bind(&Throw, recorder.Holder());
    const std::int64_t bound = recorder.Holder()->GetRefCount();
    EXPECT_THROW(slot.Raise(nullptr, 0, 0), std::runtime_error);
    EXPECT_EQ(recorder.Holder()->GetInCallCount(), 0);
    EXPECT_EQ(recorder.Holder()->GetRefCount(), bound);
    // The busy lock was given back: a raise from another thread is not refused.
    slot.Bind(&RecordSum, recorder.Holder());
    struct Context {
        IntSlot* slot;
        bool called;
    } context{&slot, false};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* raw) -> DWORD {
            auto* c = static_cast<Context*>(raw);
            std::int32_t result = 0;
            c->called = c->slot->TryRaise(result, nullptr, 1, 1);
            return 0;
        },
        &context, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(context.called);
}

TEST(CVolEventObjectPointer, TeardownWaitsForARunningHandlerOnAnotherThread) {
    EventRecorder recorder;
    CVolEventObjectPointer* holder = recorder.Holder();
    ASSERT_EQ(holder->BeginCall(), &recorder);
    struct Context {
        CVolEventObjectPointer* holder;
        volatile LONG cleared;
    } context{holder, 0};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* raw) -> DWORD {
            auto* c = static_cast<Context*>(raw);
            c->holder->ClearTarget();
            InterlockedExchange(&c->cleared, 1);
            return 0;
        },
        &context, 0, nullptr);
    // The teardown cannot finish while the call is open; it does as soon as the call ends.
    SwitchToThread();
    EXPECT_EQ(context.cleared, 0);
    EXPECT_EQ(holder->GetTarget(), &recorder);
    holder->EndCall();
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(holder->GetTarget(), nullptr);
    EXPECT_EQ(holder->BeginCall(), nullptr);
}

}  // namespace
