#include "runtime/CRefObject.h"

const CVolClassInfo& CRefObject::ClassInfo() {
    static const CVolClassInfo info("CRefObject", nullptr);
    return info;
}

CRefObject::~CRefObject() = default;

const CVolClassInfo& CRefObject::GetClassInfo() const {
    return ClassInfo();
}

bool CRefObject::IsKindOf(const CVolClassInfo& record) const {
    return GetClassInfo().IsKindOf(record);
}

int CRefObject::Release() {
    if (refCount_.fetch_sub(1, std::memory_order_acq_rel) != 1) {
        return 0;
    }
    OnFinalRelease();
    delete this;
    return 1;
}

void CRefObject::OnFinalRelease() {}

int ReleaseObject(CRefObject* object) {
    return object != nullptr ? object->Release() : 0;
}
