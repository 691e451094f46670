#include "ui/CVolEventObjectPointer.h"

CVolEventObjectPointer::CVolEventObjectPointer(CVolObject* target) : target_(target) {
    InitializeCriticalSection(&guard_);
    InitializeCriticalSection(&busy_);
}

CVolEventObjectPointer::~CVolEventObjectPointer() {
    DeleteCriticalSection(&busy_);
    DeleteCriticalSection(&guard_);
}

const CVolClassInfo& CVolEventObjectPointer::ClassInfo() {
    static const CVolClassInfo info("CVolEventObjectPointer", &CRefObject::ClassInfo());
    return info;
}

const CVolClassInfo& CVolEventObjectPointer::GetClassInfo() const {
    return ClassInfo();
}

CVolObject* CVolEventObjectPointer::GetTarget() const {
    EnterCriticalSection(&guard_);
    CVolObject* target = target_;
    LeaveCriticalSection(&guard_);
    return target;
}

std::int64_t CVolEventObjectPointer::GetInCallCount() const {
    EnterCriticalSection(&guard_);
    const std::int64_t count = inCall_;
    LeaveCriticalSection(&guard_);
    return count;
}

// The first call of a burst takes the busy lock without waiting; nested calls (a handler raising
// another event of the same target) only count, so the lock is left once, by the call that took it.
CVolObject* CVolEventObjectPointer::BeginCall() {
    CVolObject* target = nullptr;
    EnterCriticalSection(&guard_);
    if (inCall_ != 0 || TryEnterCriticalSection(&busy_)) {
        ++inCall_;
        target = target_;
        if (target == nullptr && --inCall_ == 0) {
            LeaveCriticalSection(&busy_);
        }
    }
    LeaveCriticalSection(&guard_);
    return target;
}

void CVolEventObjectPointer::EndCall() {
    EnterCriticalSection(&guard_);
    if (inCall_ > 0 && --inCall_ == 0) {
        LeaveCriticalSection(&busy_);
    }
    LeaveCriticalSection(&guard_);
}

void CVolEventObjectPointer::ClearTarget() {
    EnterCriticalSection(&busy_);
    EnterCriticalSection(&guard_);
    target_ = nullptr;
    LeaveCriticalSection(&guard_);
    LeaveCriticalSection(&busy_);
}
