#include "runtime/CWConstString.h"

const CVolClassInfo& CWConstString::ClassInfo() {
    static const CVolClassInfo info("CWConstString", &CWString::ClassInfo(), &CreateVolObject<CWConstString>);
    return info;
}

const CVolClassInfo& CWConstString::GetClassInfo() const {
    return ClassInfo();
}
