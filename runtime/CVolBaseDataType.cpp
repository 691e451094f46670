#include "runtime/CVolBaseDataType.h"

const CVolClassInfo& CVolBaseDataType::ClassInfo() {
    static const CVolClassInfo info("CVolBaseDataType", &CVolObject::ClassInfo(),
                                    &CreateVolObject<CVolBaseDataType>);
    return info;
}

const CVolClassInfo& CVolBaseDataType::GetClassInfo() const {
    return ClassInfo();
}

void* CVolBaseDataType::GetValueAddress() {
    return nullptr;
}
