#pragma once

#include "runtime/CRefObject.h"
#include "runtime/CVolObject.h"

// A value object holding one counted reference to a shared CRefObject (or none). Copies share the
// object; equality is identity of the shared object, not equality of its contents.
class CVolRefObject : public CVolObject {
public:
    // Construction
    CVolRefObject() = default;
    // Takes over the caller's reference (no AddRef).
    explicit CVolRefObject(CRefObject* reference) : ref_(reference) {}
    CVolRefObject(const CVolRefObject& other);
    CVolRefObject& operator=(const CVolRefObject& other);
    ~CVolRefObject() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CRefObject* GetRef() const { return ref_; }

    // Operations
    // Takes over the caller's reference and releases the one held before.
    void Attach(CRefObject* reference);

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    bool IsEqual(const CVolObject& other) const override;
    bool Assign(const CVolObject& other) override;
    void Reset() override;

private:
    CRefObject* ref_ = nullptr;
};
