#pragma once

#include <atomic>
#include <cstdint>

#include "runtime/CVolClassInfo.h"
#include "runtime/CVolCommonBaseWithMemManager.h"

// An object shared through an atomic reference count, which starts at 1 when the object is made.
// Such objects are released, never deleted directly: the last Release runs OnFinalRelease and then
// deletes the object (its memory goes back to the pool).
class CRefObject : public CVolCommonBaseWithMemManager {
public:
    // Construction
    CRefObject() = default;
    CRefObject(const CRefObject&) = delete;
    CRefObject& operator=(const CRefObject&) = delete;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    std::int64_t GetRefCount() const { return refCount_.load(std::memory_order_relaxed); }

    // Operations. Callers skip AddRef on a null pointer.
    void AddRef() { refCount_.fetch_add(1, std::memory_order_relaxed); }

    // Overridables, in slot order after the memory operations.
    virtual const CVolClassInfo& GetClassInfo() const;         // 5
    virtual bool IsKindOf(const CVolClassInfo& record) const;  // 6

protected:
    virtual ~CRefObject();  // 7

public:
    // Returns 1 when this call released the last reference and deleted the object, else 0.
    virtual int Release();  // 8

protected:
    // Runs once, just before the object is deleted by its last Release.
    virtual void OnFinalRelease();  // 9

private:
    std::atomic<std::int64_t> refCount_{1};
};

// Release for a pointer that may be null (then returns 0).
int ReleaseObject(CRefObject* object);
