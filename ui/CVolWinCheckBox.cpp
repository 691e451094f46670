#include "ui/CVolWinCheckBox.h"

CVolWinCheckBox::CVolWinCheckBox() {
    InstallBridge(MakeBridge(kDefaultStyle));
}

CVolWinCheckBox& CVolWinCheckBox::operator=(const CVolWinCheckBox& other) {
    Assign(other);
    return *this;
}

const CVolClassInfo& CVolWinCheckBox::ClassInfo() {
    static const CVolClassInfo info("CVolWinCheckBox", &CVolWinButtonBase::ClassInfo(),
                                    &CreateVolObject<CVolWinCheckBox>);
    return info;
}

const CVolClassInfo& CVolWinCheckBox::GetClassInfo() const {
    return ClassInfo();
}

bool CVolWinCheckBox::IsChecked() const {
    const HWND window = GetWindow();
    return window != nullptr && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CVolWinCheckBox::SetChecked(bool checked) {
    if (const HWND window = GetWindow()) {
        SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}
