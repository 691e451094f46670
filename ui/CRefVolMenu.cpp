#include "ui/CRefVolMenu.h"

CRefVolMenu::CRefVolMenu(HMENU menu, HACCEL accelerators) : menu_(menu), accelerators_(accelerators) {}

CRefVolMenu::~CRefVolMenu() {
    if (accelerators_ != nullptr) {
        DestroyAcceleratorTable(accelerators_);
    }
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

const CVolClassInfo& CRefVolMenu::ClassInfo() {
    static const CVolClassInfo info("CRefVolMenu", &CRefObject::ClassInfo());
    return info;
}

const CVolClassInfo& CRefVolMenu::GetClassInfo() const {
    return ClassInfo();
}
