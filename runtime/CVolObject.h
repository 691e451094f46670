#pragma once

#include <cstdint>

#include "runtime/CVolClassInfo.h"
#include "runtime/CVolCommonBaseWithMemManager.h"

class CWString;
class CVolInStream;
class CVolOutStream;

// Root of every value object: a flags word (bit 0 marks a null object, an object slot holding no real
// object) and a tag the library carries along without giving it a meaning.
//
// The virtual operations keep a fixed order (slots 5 to 17 after the memory operations); subclasses
// replace them and append their own after PrepareReset. Value objects are embedded by value and copied
// deeply; heap instances come from `new` (the pool) and are deleted with Destroy (or DestroyObject).
class CVolObject : public CVolCommonBaseWithMemManager {
public:
    static inline constexpr std::uint64_t kNullObjectFlag = 1;

    // Construction
    CVolObject() = default;
    CVolObject(const CVolObject&) = default;
    CVolObject& operator=(const CVolObject&) = default;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    std::uint64_t GetFlags() const { return flags_; }
    void SetFlags(std::uint64_t flags) { flags_ = flags; }
    bool IsNullObject() const { return (flags_ & kNullObjectFlag) != 0; }
    void SetNullObject(bool isNull) {
        flags_ = isNull ? (flags_ | kNullObjectFlag) : (flags_ & ~kNullObjectFlag);
    }
    std::uintptr_t GetTag() const { return tag_; }
    void SetTag(std::uintptr_t tag) { tag_ = tag; }

    // Overridables, in slot order.
    virtual const CVolClassInfo& GetClassInfo() const;         // 5
    virtual bool IsEqual(const CVolObject& other) const;       // 6
    virtual CVolObject* CreateNew() const;                     // 7: the record's creator
    virtual CVolObject* Clone() const;                         // 8: CreateNew, then Assign
    virtual bool Assign(const CVolObject& other);              // 9
    virtual void Reset();                                      // 10
    virtual ~CVolObject();                                     // 11
    virtual void Destroy();                                    // 12: delete a heap object
    virtual bool IsKindOf(const CVolClassInfo& record) const;  // 13
    virtual void GetDumpText(CWString& out, int limit) const;  // 14
    virtual void LoadFromStream(CVolInStream& input);          // 15
    virtual void SaveToStream(CVolOutStream& output) const;    // 16
    virtual void PrepareReset();                               // 17

private:
    std::uint64_t flags_ = 0;
    std::uintptr_t tag_ = 0;
};

// Destroy for a pointer that may be null.
void DestroyObject(CVolObject* object);
