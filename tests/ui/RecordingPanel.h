#pragma once

#include <vector>

#include "ui/CVWnd_Container.h"
#include "ui/CVolWinPanel.h"
#include "ui/CWtlWndObjectImpl.h"

// A container window that records what reaches its own handling, after the framework's common steps,
// so tests can see whether a message was consumed and with which wParam it went on.
class RecordingContainer : public CVWnd_Container {
public:
    struct Seen {
        UINT message;
        WPARAM wParam;
    };

    bool SawMessage(UINT message) const {
        for (const Seen& seen : seen_) {
            if (seen.message == message) {
                return true;
            }
        }
        return false;
    }
    const std::vector<Seen>& GetSeen() const { return seen_; }
    void Forget() { seen_.clear(); }

    LRESULT dialogCode = DLGC_STATIC;  // answer to WM_GETDLGCODE
    bool addBorderOnCreate = false;

protected:
    LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen_.push_back({message, wParam});
        if (message == WM_GETDLGCODE) {
            return dialogCode;
        }
        if (message == WM_CREATE && addBorderOnCreate) {
            SetWindowLongW(GetHandle(), GWL_STYLE, GetWindowLongW(GetHandle(), GWL_STYLE) | WS_BORDER);
        }
        return CVWnd_Container::HandleOwnMessage(message, wParam, lParam);
    }

private:
    std::vector<Seen> seen_;
};

class RecordingPanel : public CVolWinPanel {
public:
    RecordingPanel() : CVolWinPanel(new CWtlWndObjectImpl<RecordingContainer>()) {}
    RecordingContainer& Native() const { return *static_cast<RecordingContainer*>(GetNativeObject()); }
};
