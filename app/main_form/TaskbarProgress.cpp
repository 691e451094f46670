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
    shownDone_ = 0;
    shownTotal_ = 0;
    Apply();
}

void TaskbarProgress::ShowIndeterminate() {
    state_ = TBPF_INDETERMINATE;
    done_ = 0;
    total_ = 0;
    Apply();
}

// An empty red bar would show nothing: the error fills it.
void TaskbarProgress::ShowError() {
    state_ = TBPF_ERROR;
    done_ = 1;
    total_ = 1;
    Apply();
}

void TaskbarProgress::Clear() {
    state_ = TBPF_NOPROGRESS;
    done_ = 0;
    total_ = 0;
    Apply();
}

void TaskbarProgress::OnActivated() {
    if (state_ == TBPF_ERROR) {
        Clear();
    }
}

// The value goes first: setting one turns a bar without progress or an indeterminate one into a normal
// one, which the state then corrects. A failed call is told again with the next change; the status line
// says the same meanwhile.
void TaskbarProgress::Apply() {
    if (list_ == nullptr) {
        return;
    }
    if (total_ > 0 && (done_ != shownDone_ || total_ != shownTotal_)) {
        if (FAILED(list_->SetProgressValue(window_, done_, total_))) {
            return;
        }
        shownDone_ = done_;
        shownTotal_ = total_;
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
            shownDone_ = 0;
            shownTotal_ = 0;
        }
    }
}
