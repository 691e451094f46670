#pragma once

#include <cstddef>

#include "runtime/CPoolMem.h"
#include "runtime/CVolCommonBase.h"

// Base of every library class whose objects and buffers come from the memory pool. The five memory
// operations are the first virtual slots of every such class; the defaults use the process-wide pool.
//
// The class-level operator new/delete route `new` of any derived class through the pool as well, so
// heap objects are made with plain `new` and deleted through their Destroy (or Release) operation.
class CVolCommonBaseWithMemManager : public CVolCommonBase {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;
    static void* operator new[](std::size_t size);
    static void operator delete[](void* block) noexcept;
    // Placement forms stay available (the class-level forms above hide the global ones).
    static void* operator new(std::size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}

    // Overridables, slots 0 to 4.
    virtual void* Alloc(std::size_t size) const;                 // ends the process on failure
    virtual void* TryAlloc(std::size_t size) const;              // null on failure
    virtual void* Realloc(void* block, std::size_t size) const;  // ends the process on failure
    virtual void Free(void* block) const;                        // null is ignored
    virtual CPoolMem& GetMemManager() const;

protected:
    CVolCommonBaseWithMemManager() = default;
    CVolCommonBaseWithMemManager(const CVolCommonBaseWithMemManager&) = default;
    CVolCommonBaseWithMemManager& operator=(const CVolCommonBaseWithMemManager&) = default;
    // Not virtual on purpose: the virtual destructor belongs to the slot order of the derived roots.
    ~CVolCommonBaseWithMemManager() = default;
};
