#include "ui/CVolWinLabel.h"

#include "ui/CWtlWndObjectImpl.h"

CVolWinLabel::CVolWinLabel() {
    auto* bridge = new CWtlWndObjectImpl<CVWnd_Label>();
    bridge->SetStyle(kDefaultStyle);
    bridge->SetExStyle(0);
    InstallBridge(bridge);
}

CVolWinLabel::CVolWinLabel(const CVolWinLabel& other) : CVolWinControl(other), ILabelEventListener() {}

CVolWinLabel& CVolWinLabel::operator=(const CVolWinLabel& other) {
    Assign(other);
    return *this;
}

CVolWinLabel::~CVolWinLabel() {
    MarkDestroying();
    DetachListener();
}

const CVolClassInfo& CVolWinLabel::ClassInfo() {
    static const CVolClassInfo info("CVolWinLabel", &CVolWinControl::ClassInfo(),
                                    &CreateVolObject<CVolWinLabel>);
    return info;
}

const CVolClassInfo& CVolWinLabel::GetClassInfo() const {
    return ClassInfo();
}

COLORREF CVolWinLabel::GetTextColor() const {
    const CVWnd_Label* label = GetLabelWindow();
    return label != nullptr ? label->GetTextColor() : SYSTEM_COLOR;
}

void CVolWinLabel::SetTextColor(COLORREF color) {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetTextColor(color);
    }
}

void CVolWinLabel::SetBackgroundColor(COLORREF color) {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetBackgroundColor(color);
    }
}

void CVolWinLabel::SetHorizontalAlignment(int alignment) {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetHorizontalAlignment(alignment);
    }
}

void CVolWinLabel::SetVerticalAlignment(int alignment) {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetVerticalAlignment(alignment);
    }
}

void CVolWinLabel::SetWordWrap(bool wordWrap) {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetWordWrap(wordWrap);
    }
}

void CVolWinLabel::SetTransparent(bool transparent) {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetTransparent(transparent);
    }
}

void CVolWinLabel::SetPicture(HBITMAP picture, int mode) {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetPictureMode(mode);
        label->SetPicture(picture);
    } else if (picture != nullptr) {
        DeleteObject(picture);
    }
}

// The stored style may ask for a tab stop; a label takes none.
bool CVolWinLabel::CreateControl(ControlCreateInfo& info) {
    return CreateWith(info, [](CVWnd_Base& native, ControlCreateInfo& record) -> HWND {
        auto& label = static_cast<CVWnd_Label&>(native);
        record.style &= ~static_cast<std::uint32_t>(WS_TABSTOP);
        if (label.IsTransparent()) {
            record.exStyle |= WS_EX_TRANSPARENT;
        }
        return label.Create(record);
    });
}

void CVolWinLabel::AttachListener() {
    if (CVWnd_Label* label = GetLabelWindow()) {
        label->SetListener(this);
    }
}

void CVolWinLabel::DetachListener() {
    CVWnd_Label* label = GetLabelWindow();
    if (label != nullptr && label->GetListener() == static_cast<ILabelEventListener*>(this)) {
        label->SetListener(nullptr);
    }
}

bool CVolWinLabel::HasListener() const {
    const CVWnd_Label* label = GetLabelWindow();
    return label != nullptr && label->GetListener() != nullptr;
}

bool CVolWinLabel::OnMessage(MessageRecord& record) {
    return HandleMessage(record);
}

std::int32_t CVolWinLabel::OnLabelEvent(std::int64_t first, std::int64_t second) {
    return labelEvent_.Raise(this, first, second);
}
