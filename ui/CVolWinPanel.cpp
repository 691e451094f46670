#include "ui/CVolWinPanel.h"

#include "ui/CWtlWndObjectImpl.h"

namespace {

inline constexpr DWORD kPanelStyle = WS_VISIBLE | WS_CLIPSIBLINGS;

}  // namespace

CVolWinPanel::CVolWinPanel() : CVolWinPanel(new CWtlWndObjectImpl<CVWnd_Container>()) {}

CVolWinPanel::CVolWinPanel(CWtlWndObject* bridge) {
    bridge->SetStyle(kPanelStyle);
    bridge->SetExStyle(0);
    InstallBridge(bridge);
}

CVolWinPanel::CVolWinPanel(const CVolWinPanel& other) : CVolWinContainer(other), IContainerEventListener() {}

CVolWinPanel& CVolWinPanel::operator=(const CVolWinPanel& other) {
    Assign(other);
    return *this;
}

CVolWinPanel::~CVolWinPanel() {
    MarkDestroying();
    DetachListener();
}

const CVolClassInfo& CVolWinPanel::ClassInfo() {
    static const CVolClassInfo info("CVolWinPanel", &CVolWinContainer::ClassInfo(),
                                    &CreateVolObject<CVolWinPanel>);
    return info;
}

const CVolClassInfo& CVolWinPanel::GetClassInfo() const {
    return ClassInfo();
}

bool CVolWinPanel::CreateControl(ControlCreateInfo& info) {
    const bool created = CreateWith(info, [](CVWnd_Base& native, ControlCreateInfo& record) -> HWND {
        auto& container = static_cast<CVWnd_Container&>(native);
        record.style &= ~static_cast<std::uint32_t>(WS_TABSTOP);
        if (container.IsTransparent()) {
            record.exStyle |= WS_EX_TRANSPARENT;
        }
        return container.Create(record);
    });
    if (created) {
        SetWindowSize(info.width, info.height);
    }
    return created;
}

void CVolWinPanel::PrepareCreateInfo(ControlCreateInfo& info) {
    CVolWinContainer::PrepareCreateInfo(info);
    if (!HasListener()) {
        AttachListener();
    }
}

void CVolWinPanel::AttachListener() {
    if (CVWnd_Container* container = GetContainerWindow()) {
        container->SetListener(this);
    }
}

void CVolWinPanel::DetachListener() {
    CVWnd_Container* container = GetContainerWindow();
    if (container != nullptr && container->GetListener() == static_cast<IContainerEventListener*>(this)) {
        container->SetListener(nullptr);
    }
}

bool CVolWinPanel::HasListener() const {
    const CVWnd_Container* container = GetContainerWindow();
    return container != nullptr && container->GetListener() != nullptr;
}

bool CVolWinPanel::OnMessage(MessageRecord& record) {
    return HandleMessage(record);
}

void CVolWinPanel::OnCreate() {
    CreateChildren();
    containerCreated_.Raise(this);
}

void CVolWinPanel::OnDestroy() {
    destroyed_.Raise(this);
}

void CVolWinPanel::OnThirdEvent() {
    third_.Raise(this);
}

void CVolWinPanel::OnSize() {
    resized_.Raise(this);
}

void CVolWinPanel::OnShow(bool shown) {
    (shown ? shown_ : hidden_).Raise(this);
}

void CVolWinPanel::OnMove() {
    moved_.Raise(this);
}

bool CVolWinPanel::OnCommand(std::int32_t commandId) {
    return command_.Raise(this, commandId) != 0;
}
