#include "app/main_form/TaskbarProgress.h"

TaskbarProgress::~TaskbarProgress() {
    if (list_ != nullptr) {
        list_->Release();
    }
}

UINT TaskbarProgress::ButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

// A new button shows nothing of the old one's: the state of the moment is told again.
void TaskbarProgress::OnButtonCreated(HWND window) {
    if (list_ == nullptr) {
        ITaskbarList3* list = nullptr;
        if (seam_ != nullptr) {
            list = seam_->MakeTaskbarList();
        } else if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_ITaskbarList3, reinterpret_cast<void**>(&list)))) {
            list = nullptr;
        }
        if (list == nullptr) {
            return;  // no taskbar list on this system: the button shows no progress
        }
        if (FAILED(list->HrInit())) {
            list->Release();
            return;
        }
        list_ = list;
    }
    window_ = window;
    shownState_ = TBPF_NOPROGRESS;
    shownFull_ = false;
    Apply();
}

void TaskbarProgress::ShowIndeterminate() {
    state_ = TBPF_INDETERMINATE;
    Apply();
}

void TaskbarProgress::ShowError() {
    state_ = TBPF_ERROR;
    Apply();
}

void TaskbarProgress::Clear() {
    state_ = TBPF_NOPROGRESS;
    Apply();
}

void TaskbarProgress::OnActivated() {
    if (state_ == TBPF_ERROR) {
        Clear();
    }
}

// An empty red bar would show nothing: the error fills it. The value goes first: setting one turns a
// bar without progress or an indeterminate one into a normal one, which the state then corrects. A
// failed call is told again with the next change; the status line says the same meanwhile.
void TaskbarProgress::Apply() {
    if (list_ == nullptr) {
        return;
    }
    if (state_ == TBPF_ERROR && !shownFull_) {
        if (FAILED(list_->SetProgressValue(window_, 1, 1))) {
            return;
        }
        shownFull_ = true;
        if (shownState_ == TBPF_NOPROGRESS || shownState_ == TBPF_INDETERMINATE) {
            shownState_ = TBPF_NORMAL;
        }
    }
    if (state_ != shownState_) {
        if (FAILED(list_->SetProgressState(window_, state_))) {
            return;
        }
        shownState_ = state_;
        if (state_ == TBPF_NOPROGRESS) {
            shownFull_ = false;
        }
    }
}
