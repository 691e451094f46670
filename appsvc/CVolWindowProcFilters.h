#pragma once

#include "appsvc/Win32Api.h"

#include "appsvc/IWindowProcFilter.h"
#include "runtime/CVolCommonBase.h"

// The window-procedure filter chain embedded in every framework native window. The most recently
// added filter sees each message first. Filters are not owned; the chain holds only its nodes.
//
// Removing filters while the chain runs (a filter removing itself or another one, or a nested
// message to the same window) is safe: removed nodes are only marked during a run and freed when the
// outermost run ends.
class CVolWindowProcFilters : public CVolCommonBase {
public:
    // Construction
    CVolWindowProcFilters() = default;
    CVolWindowProcFilters(const CVolWindowProcFilters&) = delete;
    CVolWindowProcFilters& operator=(const CVolWindowProcFilters&) = delete;
    ~CVolWindowProcFilters();

    // Attributes
    bool IsEmpty() const;
    int GetCount() const;
    bool Contains(const IWindowProcFilter* filter) const;

    // The common step of every framework window procedure. Acts on VM_ADDFILTER / VM_REMOVEFILTER
    // (lParam FRAMEWORK_MAGIC, non-null filter in wParam; answer FRAMEWORK_MAGIC), runs the filters on
    // every other message and empties the chain once the filters have seen WM_NCDESTROY. True when the
    // message is finished and `result` holds the procedure's answer; false when the window's own
    // handling goes on.
    bool ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Overridables, in slot order
    virtual void RemoveAll();                             // slot 0
    virtual void AddFilter(IWindowProcFilter* filter);    // slot 1: null or present: no change
    virtual int RemoveFilter(IWindowProcFilter* filter);  // slot 2: null empties the chain
    virtual int RunFilters(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT* result);  // slot 3

private:
    struct Node {
        IWindowProcFilter* filter;  // null once removed during a run
        Node* next;
    };

    void FreeRemovedNodes();

    Node* head_ = nullptr;
    int runDepth_ = 0;
    bool hasRemovedNodes_ = false;
};
