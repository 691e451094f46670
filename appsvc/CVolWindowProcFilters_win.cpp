#include "appsvc/CVolWindowProcFilters.h"
#include "appsvc/FrameworkMessages.h"

CVolWindowProcFilters::~CVolWindowProcFilters() {
    runDepth_ = 0;
    RemoveAll();
}

bool CVolWindowProcFilters::IsEmpty() const {
    return GetCount() == 0;
}

int CVolWindowProcFilters::GetCount() const {
    int count = 0;
    for (const Node* node = head_; node != nullptr; node = node->next) {
        if (node->filter != nullptr) {
            ++count;
        }
    }
    return count;
}

bool CVolWindowProcFilters::Contains(const IWindowProcFilter* filter) const {
    if (filter == nullptr) {
        return false;
    }
    for (const Node* node = head_; node != nullptr; node = node->next) {
        if (node->filter == filter) {
            return true;
        }
    }
    return false;
}

bool CVolWindowProcFilters::ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           LRESULT& result) {
    if ((message == VM_ADDFILTER || message == VM_REMOVEFILTER) && lParam == FRAMEWORK_MAGIC && wParam != 0) {
        auto* filter = reinterpret_cast<IWindowProcFilter*>(wParam);
        if (message == VM_ADDFILTER) {
            AddFilter(filter);
        } else {
            RemoveFilter(filter);
        }
        result = FRAMEWORK_MAGIC;
        return true;
    }
    const bool handled = RunFilters(window, message, wParam, lParam, &result) != 0;
    if (message == WM_NCDESTROY) {
        RemoveAll();  // the window is gone; no filter may outlive it in the chain
    }
    return handled;
}

void CVolWindowProcFilters::RemoveAll() {
    if (runDepth_ > 0) {
        for (Node* node = head_; node != nullptr; node = node->next) {
            node->filter = nullptr;
        }
        hasRemovedNodes_ = head_ != nullptr;
        return;
    }
    while (head_ != nullptr) {
        Node* next = head_->next;
        delete head_;
        head_ = next;
    }
    hasRemovedNodes_ = false;
}

void CVolWindowProcFilters::AddFilter(IWindowProcFilter* filter) {
    if (filter == nullptr || Contains(filter)) {
        return;
    }
    head_ = new Node{filter, head_};
}

int CVolWindowProcFilters::RemoveFilter(IWindowProcFilter* filter) {
    if (filter == nullptr) {
        RemoveAll();
        return 1;
    }
    for (Node** link = &head_; *link != nullptr; link = &(*link)->next) {
        Node* node = *link;
        if (node->filter != filter) {
            continue;
        }
        if (runDepth_ > 0) {
            node->filter = nullptr;
            hasRemovedNodes_ = true;
        } else {
            *link = node->next;
            delete node;
        }
        return 1;
    }
    return 0;
}

int CVolWindowProcFilters::RunFilters(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* result) {
    if (window == nullptr) {
        return 0;
    }
    int handled = 0;
    ++runDepth_;
    // Nodes stay allocated while any run is under way, so reading `next` after a filter has run is
    // safe whatever the filter removed.
    for (Node* node = head_; node != nullptr; node = node->next) {
        if (node->filter != nullptr && node->filter->Filter(window, message, wParam, lParam, result) != 0) {
            handled = 1;
            break;
        }
    }
    if (--runDepth_ == 0 && hasRemovedNodes_) {
        FreeRemovedNodes();
    }
    return handled;
}

void CVolWindowProcFilters::FreeRemovedNodes() {
    for (Node** link = &head_; *link != nullptr;) {
        Node* node = *link;
        if (node->filter == nullptr) {
            *link = node->next;
            delete node;
        } else {
            link = &node->next;
        }
    }
    hasRemovedNodes_ = false;
}
