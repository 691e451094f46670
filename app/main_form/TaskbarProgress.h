#pragma once

#include <shobjidl.h>

#include "appsvc/Win32Api.h"

// Where tests step in for the taskbar, which Wine does not show: a list of their own that records what
// the window asks. None in the program.
class TaskbarSeam {
public:
    virtual ~TaskbarSeam() = default;

    // A taskbar list with one reference for the caller; null when there is none.
    virtual ITaskbarList3* MakeTaskbarList() const = 0;
};

// The progress of the window's export on its taskbar button, so that a user working in another window
// sees how far it is. Used on the window's thread only. Nothing shows until the system says the button
// exists ("TaskbarButtonCreated"), and nothing at all where the taskbar list is missing. Each state and
// value goes to the taskbar only when it changes, so that the calls are no more often than the window's
// progress reports.
class TaskbarProgress {
public:
    // Construction
    TaskbarProgress() = default;
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;
    ~TaskbarProgress();

    // Attributes
    // The message the system sends a window when its taskbar button has been made (again, after the
    // taskbar restarted).
    static UINT ButtonCreatedMessage();

    // Operations
    void SetSeam(const TaskbarSeam* seam) { seam_ = seam; }
    // The button of `window` exists: the taskbar list is made now, and shows the state of the moment.
    void OnButtonCreated(HWND window);
    // Moving without a fraction: the total is not known.
    void ShowIndeterminate();
    // A full red bar until the window is next activated (OnActivated).
    void ShowError();
    void Clear();
    void OnActivated();

private:
    void Apply();

    const TaskbarSeam* seam_ = nullptr;
    ITaskbarList3* list_ = nullptr;
    HWND window_ = nullptr;
    TBPFLAG state_ = TBPF_NOPROGRESS;
    // What the taskbar was last told: the state, and whether the bar was filled (for the error).
    TBPFLAG shownState_ = TBPF_NOPROGRESS;
    bool shownFull_ = false;
};
