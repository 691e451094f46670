#include "app/entry/MainApp.h"

#include "appsvc/CVolWtlAppModule.h"
#include "ui/ControlCreateInfo.h"

const CVolClassInfo& MainApp::ClassInfo() {
    static const CVolClassInfo info("MainApp", &CVolWinApp::ClassInfo(), &CreateVolObject<MainApp>);
    return info;
}

const CVolClassInfo& MainApp::GetClassInfo() const {
    return ClassInfo();
}

bool MainApp::IsEqual(const CVolObject& other) const {
    return CVolWinApp::IsEqual(other) && &other == this;
}

bool MainApp::Assign(const CVolObject& other) {
    if (&other == this) {
        return true;
    }
    if (!CVolWinApp::Assign(other)) {  // class test, flags and tag
        return false;
    }
    return mainForm_.Assign(static_cast<const MainApp&>(other).mainForm_);
}

void MainApp::Reset() {
    mainForm_.Reset();
}

void MainApp::LoadFromStream(CVolInStream& input) {
    if (input.IsGood()) {
        mainForm_.LoadFromStream(input);
    }
}

void MainApp::SaveToStream(CVolOutStream& output) const {
    if (output.IsGood()) {
        mainForm_.SaveToStream(output);
    }
}

bool MainApp::RunMain() {
    // A top-level form at the framework's default position with its own default size.
    ControlCreateInfo info;
    info.x = ControlCreateInfo::kDefault;
    info.y = ControlCreateInfo::kDefault;
    info.width = ControlCreateInfo::kDefault;
    info.height = ControlCreateInfo::kDefault;
    info.layer = ControlCreateInfo::kAllPages;
    if (mainForm_.CreateControl(info)) {
        GetAppModule().SetMainWindow(mainForm_.GetWindow());
    }
    return true;
}
