#pragma once

#include <cstdint>

#include "runtime/ArrayDumpHeader.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolObject.h"

// An owning array of value objects of any class. Every element is a heap object (made with `new`, so
// from the pool) that the array destroys when it is emptied, reset, assigned over or destroyed; a
// pointer handed to Add becomes the array's responsibility. Copies are deep (each element is cloned).
class CVolObjectArray : public CVolObject {
public:
    static inline constexpr std::int64_t kGrowthStep = 256;  // 32 element pointers
    static inline constexpr int kDefaultDumpLimit = ARRAY_DUMP_DEFAULT_LIMIT;

    // Construction
    CVolObjectArray() = default;
    CVolObjectArray(const CVolObjectArray& other);
    CVolObjectArray(CVolObjectArray&& other) noexcept;
    CVolObjectArray& operator=(const CVolObjectArray& other);  // as Assign
    CVolObjectArray& operator=(CVolObjectArray&& other) noexcept;
    ~CVolObjectArray() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    std::int64_t GetCount() const {
        return elements_.GetSize() / static_cast<std::int64_t>(sizeof(CVolObject*));
    }
    CVolObject* GetAt(std::int64_t index) const;  // null outside the array

    // Operations
    // Adopts `object` and returns its index; a null object is refused (-1).
    std::int64_t Add(CVolObject* object);
    void RemoveAll();  // destroys every element and releases the pointer buffer

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Same class record, flag bit 0 and tag, the same count and IsEqual elements pairwise, in order.
    bool IsEqual(const CVolObject& other) const override;
    // Replaces the elements by clones of the source's; assigning an array to itself keeps them.
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    // Appends a header and, per member shown, its class, address and own dump text. The limit bounds
    // the members shown (0 means kDefaultDumpLimit, negative shows all) and is passed on to members.
    void GetDumpText(CWString& out, int limit) const override;

private:
    static CVolObject* ElementAt(const CVolMem& elements, std::int64_t index);
    static void DestroyElements(CVolMem& elements);

    CVolMem elements_{kGrowthStep};
};
