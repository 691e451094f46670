#include "appsvc/CVolUserApp.h"

#include "appsvc/CVolAppInstance.h"

const CVolClassInfo& CVolUserApp::ClassInfo() {
    static const CVolClassInfo info("CVolUserApp", &CVolObject::ClassInfo(), &CreateVolObject<CVolUserApp>);
    return info;
}

CVolUserApp::CVolUserApp() {
    GetAppInstance().SetCurrentApp(this);
}

CVolUserApp::CVolUserApp(const CVolUserApp& other) : CVolObject(other) {
    GetAppInstance().SetCurrentApp(this);
}

// An application object destroyed by other hands must not stay current: the end sequence would
// destroy it a second time.
CVolUserApp::~CVolUserApp() {
    CVolAppInstance& instance = GetAppInstance();
    if (instance.GetCurrentApp() == this) {
        instance.SetCurrentApp(nullptr);
    }
}

const CVolClassInfo& CVolUserApp::GetClassInfo() const {
    return ClassInfo();
}

const CVolClassInfo* const* CVolUserApp::GetClassTable() const {
    return nullptr;
}
