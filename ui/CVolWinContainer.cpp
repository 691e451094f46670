#include "ui/CVolWinContainer.h"

CVolWinContainer::CVolWinContainer(const CVolWinContainer& other)
    : CVolWinControl(other), windowWidth_(other.windowWidth_), windowHeight_(other.windowHeight_) {}

CVolWinContainer& CVolWinContainer::operator=(const CVolWinContainer& other) {
    Assign(other);
    return *this;
}

CVolWinContainer::~CVolWinContainer() {
    MarkDestroying();
}

// Containers make no window of their own, so the record has no creator.
const CVolClassInfo& CVolWinContainer::ClassInfo() {
    static const CVolClassInfo info("CVolWinContainer", &CVolWinControl::ClassInfo());
    return info;
}

const CVolClassInfo& CVolWinContainer::GetClassInfo() const {
    return ClassInfo();
}

bool CVolWinContainer::Assign(const CVolObject& other) {
    if (!CVolWinControl::Assign(other)) {
        return false;
    }
    const auto& container = static_cast<const CVolWinContainer&>(other);
    windowWidth_ = container.windowWidth_;
    windowHeight_ = container.windowHeight_;
    return true;
}

std::int32_t CVolWinContainer::DefaultClientWidth() const {
    return 0;
}

std::int32_t CVolWinContainer::DefaultClientHeight() const {
    return 0;
}

void CVolWinContainer::CreateChildren() {}
