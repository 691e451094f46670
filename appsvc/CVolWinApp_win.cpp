#include "appsvc/CVolWinApp.h"

const CVolClassInfo& CVolWinApp::ClassInfo() {
    static const CVolClassInfo info("CVolWinApp", &CVolBaseApp::ClassInfo(), &CreateVolObject<CVolWinApp>);
    return info;
}

const CVolClassInfo& CVolWinApp::GetClassInfo() const {
    return ClassInfo();
}

int CVolWinApp::OnPreTranslateMessage(HWND, UINT, WPARAM, LPARAM, MSG*) {
    return 1;
}

int CVolWinApp::OnIdle(int) {
    return 0;
}

void CVolWinApp::OnMessageLoopEnd() {}
