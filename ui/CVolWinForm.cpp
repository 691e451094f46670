#include "ui/CVolWinForm.h"

#include "ui/CRefVolMenu.h"
#include "ui/CWtlWndObjectImpl.h"

CVolWinForm::CVolWinForm() : CVolWinPanel(new CWtlWndObjectImpl<CVWnd_WinForm>()) {}

CVolWinForm::CVolWinForm(const CVolWinForm& other) : CVolWinPanel(other), IWinFormEventListener() {}

CVolWinForm& CVolWinForm::operator=(const CVolWinForm& other) {
    Assign(other);
    return *this;
}

CVolWinForm::~CVolWinForm() {
    MarkDestroying();
    DetachListener();
}

const CVolClassInfo& CVolWinForm::ClassInfo() {
    static const CVolClassInfo info("CVolWinForm", &CVolWinPanel::ClassInfo(), &CreateVolObject<CVolWinForm>);
    return info;
}

const CVolClassInfo& CVolWinForm::GetClassInfo() const {
    return ClassInfo();
}

void CVolWinForm::EndModal(std::int32_t result) {
    if (CVWnd_WinForm* form = GetFormWindow()) {
        form->EndModal(result);
    }
}

bool CVolWinForm::CreateControl(ControlCreateInfo& info) {
    const bool created = CreateWith(info, [](CVWnd_Base& native, ControlCreateInfo& record) -> HWND {
        return static_cast<CVWnd_WinForm&>(native).Create(record);
    });
    if (!created || info.modal == 0) {
        return created;
    }
    // The loop may run code that drops this form; the bridge reference keeps the native form alive
    // until the loop has finished with it.
    CWtlWndObject* bridge = GetBridge();
    bridge->AddRef();
    info.modalResult = GetFormWindow()->ShowModal();
    bridge->Release();
    return true;
}

void CVolWinForm::PrepareCreateInfo(ControlCreateInfo& info) {
    CVolWinPanel::PrepareCreateInfo(info);
    info.exStyle |= WS_EX_CONTROLPARENT;
    if (CVWnd_WinForm* form = GetFormWindow()) {
        form->CompleteCreateInfo(info);
    }
}

void CVolWinForm::AdjustCreateInfo(ControlCreateInfo& info) {
    if (info.width == ControlCreateInfo::kDefault || info.height == ControlCreateInfo::kDefault) {
        const std::int32_t clientWidth = DefaultClientWidth();
        const std::int32_t clientHeight = DefaultClientHeight();
        if (clientWidth <= 0 || clientHeight <= 0) {
            info.width = 0;
            info.height = 0;
        } else {
            RECT bounds{0, 0, clientWidth, clientHeight};
            const bool hasMenu =
                info.parent == nullptr && info.menu != nullptr && info.menu->GetMenuHandle() != nullptr;
            AdjustWindowRectEx(&bounds, info.style, hasMenu, info.exStyle);
            info.width = bounds.right - bounds.left;
            info.height = bounds.bottom - bounds.top;
        }
    }
    SetWindowSize(info.width, info.height);
    if (info.x == ControlCreateInfo::kDefault || info.y == ControlCreateInfo::kDefault) {
        if ((info.style & WS_CHILD) != 0) {
            info.x = 0;
            info.y = 0;
        } else {
            info.x = (GetSystemMetrics(SM_CXSCREEN) - info.width) / 2;
            info.y = (GetSystemMetrics(SM_CYSCREEN) - info.height) / 2;
        }
    }
}

void CVolWinForm::AttachListener() {
    if (CVWnd_WinForm* form = GetFormWindow()) {
        form->SetFormListener(this);
    }
}

void CVolWinForm::DetachListener() {
    CVWnd_WinForm* form = GetFormWindow();
    if (form != nullptr && form->GetListener() == static_cast<IWinFormEventListener*>(this)) {
        form->SetFormListener(nullptr);
    }
}

bool CVolWinForm::HasListener() const {
    const CVWnd_WinForm* form = GetFormWindow();
    return form != nullptr && form->GetListener() != nullptr;
}

bool CVolWinForm::FormHook() const {
    return true;
}

bool CVolWinForm::OnMessage(MessageRecord& record) {
    return CVolWinPanel::OnMessage(record);
}

void CVolWinForm::OnCreate() {
    CVolWinPanel::OnCreate();
}

void CVolWinForm::OnDestroy() {
    CVolWinPanel::OnDestroy();
}

void CVolWinForm::OnThirdEvent() {
    CVolWinPanel::OnThirdEvent();
}

void CVolWinForm::OnSize() {
    CVolWinPanel::OnSize();
}

void CVolWinForm::OnShow(bool shown) {
    CVolWinPanel::OnShow(shown);
}

void CVolWinForm::OnMove() {
    CVolWinPanel::OnMove();
}

bool CVolWinForm::OnCommand(std::int32_t commandId) {
    return formCommand_.Raise(this, commandId) != 0;
}

bool CVolWinForm::OnFormHook() {
    return FormHook();
}

void CVolWinForm::OnMenuSelect(std::int32_t itemId) {
    menuSelect_.Raise(this, itemId);
}

bool CVolWinForm::AskToClose(SimpleEventSlot& question) {
    std::int32_t answer = 0;
    return !question.TryRaise(answer, this) || answer != 0;
}

bool CVolWinForm::OnClosing() {
    return AskToClose(closing_);
}

bool CVolWinForm::OnQueryClose() {
    return AskToClose(queryClose_);
}

void CVolWinForm::OnFirstActivated() {
    firstActivated_.Raise(this);
}

void CVolWinForm::OnActivated() {
    activated_.Raise(this);
}

void CVolWinForm::OnDeactivated() {
    deactivated_.Raise(this);
}

void CVolWinForm::OnTrayIcon(std::int32_t action) {
    trayIcon_.Raise(this, action);
}

void CVolWinForm::OnMinMaxInfo(MINMAXINFO& info) {
    minMaxInfo_.Raise(this, &info);
}

void CVolWinForm::OnModalStarting() {
    modalStarting_.Raise(this);
}
