#include "app/entry/MainApp.h"

#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolWtlAppModule.h"
#include "runtime/CMStringArray.h"
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
        TakeStartFolder();
    }
    return true;
}

// A folder dropped on the program's icon, or sent with Explorer's "Send To", arrives as the first
// argument. It goes the way of a drop on the window, so the same rule decides what the path box shows;
// the rest of the command line is ignored, as the rest of a drop is.
void MainApp::TakeStartFolder() {
    const CVolAppInstance& instance = GetAppInstance();
    if (instance.GetArgc() < 2 || instance.GetArgv() == nullptr || instance.GetArgv()[1] == nullptr) {
        return;
    }
    CMStringArray paths;
    paths.Append(instance.GetArgv()[1]);
    MainForm::OnFormFilesDropped(&mainForm_, &mainForm_, 0, paths);
}
