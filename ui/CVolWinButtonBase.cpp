#include "ui/CVolWinButtonBase.h"

#include "ui/CWtlWndObjectImpl.h"

CVolWinButtonBase::CVolWinButtonBase(const CVolWinButtonBase& other)
    : CVolWinControl(other), IButtonEventListener() {}

CVolWinButtonBase& CVolWinButtonBase::operator=(const CVolWinButtonBase& other) {
    Assign(other);
    return *this;
}

CVolWinButtonBase::~CVolWinButtonBase() {
    MarkDestroying();
    DetachListener();
}

// Abstract: the record has no creator.
const CVolClassInfo& CVolWinButtonBase::ClassInfo() {
    static const CVolClassInfo info("CVolWinButtonBase", &CVolWinControl::ClassInfo());
    return info;
}

const CVolClassInfo& CVolWinButtonBase::GetClassInfo() const {
    return ClassInfo();
}

CWtlWndObject* CVolWinButtonBase::MakeBridge(DWORD style) {
    auto* bridge = new CWtlWndObjectImpl<CVWnd_Button>();
    bridge->SetStyle(style);
    bridge->SetExStyle(0);
    return bridge;
}

COLORREF CVolWinButtonBase::GetTextColor() const {
    const CVWnd_Button* button = GetButtonWindow();
    return button != nullptr ? button->GetTextColor() : 0;
}

void CVolWinButtonBase::SetTextColor(COLORREF color) {
    if (CVWnd_Button* button = GetButtonWindow()) {
        button->SetTextColor(color);
    }
}

COLORREF CVolWinButtonBase::GetBackgroundColor() const {
    const CVWnd_Button* button = GetButtonWindow();
    return button != nullptr ? button->GetBackgroundColor() : SYSTEM_COLOR;
}

void CVolWinButtonBase::SetBackgroundColor(COLORREF color) {
    if (CVWnd_Button* button = GetButtonWindow()) {
        button->SetBackgroundColor(color);
    }
}

bool CVolWinButtonBase::CreateControl(ControlCreateInfo& info) {
    return CreateWith(info, [](CVWnd_Base& native, ControlCreateInfo& record) -> HWND {
        return static_cast<CVWnd_Button&>(native).Create(record);
    });
}

void CVolWinButtonBase::AttachListener() {
    if (CVWnd_Button* button = GetButtonWindow()) {
        button->SetListener(this);
    }
}

void CVolWinButtonBase::DetachListener() {
    CVWnd_Button* button = GetButtonWindow();
    if (button != nullptr && button->GetListener() == static_cast<IButtonEventListener*>(this)) {
        button->SetListener(nullptr);
    }
}

bool CVolWinButtonBase::HasListener() const {
    const CVWnd_Button* button = GetButtonWindow();
    return button != nullptr && button->GetListener() != nullptr;
}

bool CVolWinButtonBase::OnMessage(MessageRecord& record) {
    return HandleMessage(record);
}

void CVolWinButtonBase::OnClick() {
    clicked_.Raise(this);
}
