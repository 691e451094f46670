#include "ui/CVolWinButton.h"

CVolWinButton::CVolWinButton() {
    InstallBridge(MakeBridge(kDefaultStyle));
}

CVolWinButton& CVolWinButton::operator=(const CVolWinButton& other) {
    Assign(other);
    return *this;
}

const CVolClassInfo& CVolWinButton::ClassInfo() {
    static const CVolClassInfo info("CVolWinButton", &CVolWinButtonBase::ClassInfo(),
                                    &CreateVolObject<CVolWinButton>);
    return info;
}

const CVolClassInfo& CVolWinButton::GetClassInfo() const {
    return ClassInfo();
}
