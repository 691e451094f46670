#include "runtime/CVolRefObject.h"

const CVolClassInfo& CVolRefObject::ClassInfo() {
    static const CVolClassInfo info("CVolRefObject", &CVolObject::ClassInfo(),
                                    &CreateVolObject<CVolRefObject>);
    return info;
}

CVolRefObject::CVolRefObject(const CVolRefObject& other) : CVolObject(other), ref_(other.ref_) {
    if (ref_ != nullptr) {
        ref_->AddRef();
    }
}

CVolRefObject& CVolRefObject::operator=(const CVolRefObject& other) {
    Assign(other);
    return *this;
}

CVolRefObject::~CVolRefObject() {
    ReleaseObject(ref_);
}

const CVolClassInfo& CVolRefObject::GetClassInfo() const {
    return ClassInfo();
}

void CVolRefObject::Attach(CRefObject* reference) {
    CRefObject* old = ref_;
    ref_ = reference;
    ReleaseObject(old);
}

bool CVolRefObject::IsEqual(const CVolObject& other) const {
    return CVolObject::IsEqual(other) && ref_ == static_cast<const CVolRefObject&>(other).ref_;
}

bool CVolRefObject::Assign(const CVolObject& other) {
    if (!CVolObject::Assign(other)) {
        return false;
    }
    // Take the new reference before dropping the old one: both may be the same object.
    CRefObject* reference = static_cast<const CVolRefObject&>(other).ref_;
    if (reference != nullptr) {
        reference->AddRef();
    }
    Attach(reference);
    return true;
}

void CVolRefObject::Reset() {
    CVolObject::Reset();
    Attach(nullptr);
}
