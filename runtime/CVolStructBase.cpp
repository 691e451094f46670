#include "runtime/CVolStructBase.h"

const CVolClassInfo& CVolStructBase::ClassInfo() {
    static const CVolClassInfo info("CVolStructBase", &CVolObject::ClassInfo(),
                                    &CreateVolObject<CVolStructBase>);
    return info;
}

const CVolClassInfo& CVolStructBase::GetClassInfo() const {
    return ClassInfo();
}
