#include "ui/CVolWinEdit.h"

#include "ui/CWtlWndObjectImpl.h"

CVolWinEdit::CVolWinEdit() {
    auto* bridge = new CWtlWndObjectImpl<CVWnd_Edit>();
    bridge->SetStyle(kDefaultStyle);
    bridge->SetExStyle(kDefaultExStyle);
    InstallBridge(bridge);
}

CVolWinEdit::CVolWinEdit(const CVolWinEdit& other) : CVolWinControl(other), IEditEventListener() {}

CVolWinEdit& CVolWinEdit::operator=(const CVolWinEdit& other) {
    Assign(other);
    return *this;
}

CVolWinEdit::~CVolWinEdit() {
    MarkDestroying();
    DetachListener();
}

const CVolClassInfo& CVolWinEdit::ClassInfo() {
    static const CVolClassInfo info("CVolWinEdit", &CVolWinControl::ClassInfo(),
                                    &CreateVolObject<CVolWinEdit>);
    return info;
}

const CVolClassInfo& CVolWinEdit::GetClassInfo() const {
    return ClassInfo();
}

int CVolWinEdit::GetInputType() const {
    const CVWnd_Edit* edit = GetEditWindow();
    return edit != nullptr ? edit->GetInputType() : EDIT_INPUT_TEXT;
}

void CVolWinEdit::SetInputType(int inputType) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetInputType(inputType);
    }
}

void CVolWinEdit::SetMultiLine(bool multiLine) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetMultiLine(multiLine);
    }
}

void CVolWinEdit::SetScrollBars(int scrollBars) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetScrollBars(scrollBars);
    }
}

void CVolWinEdit::SetPasswordChar(char16_t character) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetPasswordChar(character);
    }
}

void CVolWinEdit::SetMaxLength(int length) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetMaxLength(length);
    }
}

void CVolWinEdit::SetSpin(std::int32_t step, std::int32_t minimum, std::int32_t maximum) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetSpinStep(step);
        edit->SetSpinRange(minimum, maximum);
    }
}

void CVolWinEdit::SetTextColor(COLORREF color) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetTextColor(color);
    }
}

void CVolWinEdit::SetBackgroundColor(COLORREF color) {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetBackgroundColor(color);
    }
}

bool CVolWinEdit::CreateControl(ControlCreateInfo& info) {
    return CreateWith(info, [](CVWnd_Base& native, ControlCreateInfo& record) -> HWND {
        auto& edit = static_cast<CVWnd_Edit&>(native);
        record.style = edit.CompleteStyle(record.style);
        return edit.Create(record);
    });
}

void CVolWinEdit::AttachListener() {
    if (CVWnd_Edit* edit = GetEditWindow()) {
        edit->SetListener(this);
    }
}

void CVolWinEdit::DetachListener() {
    CVWnd_Edit* edit = GetEditWindow();
    if (edit != nullptr && edit->GetListener() == static_cast<IEditEventListener*>(this)) {
        edit->SetListener(nullptr);
    }
}

bool CVolWinEdit::HasListener() const {
    const CVWnd_Edit* edit = GetEditWindow();
    return edit != nullptr && edit->GetListener() != nullptr;
}

// The window's own focus messages are passed by: the box reports focus through EN_SETFOCUS and
// EN_KILLFOCUS instead, once the text has been tidied.
bool CVolWinEdit::OnMessage(MessageRecord& record) {
    if (record.message == WM_SETFOCUS || record.message == WM_KILLFOCUS) {
        const CVWnd_Edit* edit = GetEditWindow();
        if (edit == nullptr || !edit->IsOfferingFocusRecord()) {
            return false;
        }
    }
    return HandleMessage(record);
}

void CVolWinEdit::OnFirstEvent() {
    textChanged_.Raise(this);
}

void CVolWinEdit::OnSecondEvent(std::int32_t value) {
    spinChanged_.Raise(this, value);
}
