#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "runtime/CRefObject.h"

class CVolObject;

// The shared, lockable pointer from event sources to their target object (normally the form that
// embeds the controls). Every event slot bound to a target holds one reference to the same holder.
//
// Two critical sections guard it: the guard lock protects the in-call counter and the target pointer;
// the busy lock is held while at least one handler of the target runs. Teardown takes the busy lock
// and clears the target, so it waits for running handlers and afterwards no handler is called.
class CVolEventObjectPointer : public CRefObject {
public:
    // Construction: reference count 1, in-call counter 0.
    explicit CVolEventObjectPointer(CVolObject* target);

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CVolObject* GetTarget() const;
    std::int64_t GetInCallCount() const;

    // Operations
    // The entry step of raising an event: the target when a handler may be called now (the call is
    // then counted and must be closed by EndCall), or null when the target is gone or is busy on
    // behalf of another caller that is not a handler call (its teardown).
    CVolObject* BeginCall();
    void EndCall();
    // The target's teardown: waits for running handlers, then clears the target for good.
    void ClearTarget();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;

protected:
    ~CVolEventObjectPointer() override;

private:
    mutable CRITICAL_SECTION guard_;
    CRITICAL_SECTION busy_;
    std::int64_t inCall_ = 0;
    CVolObject* target_;
};
