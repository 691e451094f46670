#include "appsvc/CVolBaseApp.h"

#include "runtime/BoxedValueClassTable.h"

static_assert(CVolBaseApp::kClassTableSize == BOXED_VALUE_CLASS_COUNT);

const CVolClassInfo& CVolBaseApp::ClassInfo() {
    static const CVolClassInfo info("CVolBaseApp", &CVolUserApp::ClassInfo(), &CreateVolObject<CVolBaseApp>);
    return info;
}

const CVolClassInfo& CVolBaseApp::GetClassInfo() const {
    return ClassInfo();
}

const CVolClassInfo* const* CVolBaseApp::GetClassTable() const {
    return BoxedValueClassTable().data();
}
