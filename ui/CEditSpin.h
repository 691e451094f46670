#pragma once

#include "appsvc/Win32Api.h"

#include "ui/CVWnd_Base.h"

class CVWnd_Edit;

// The spin companion of a single-line edit box: a system up-down control beside the edit, in the same
// parent, that steps the edit's value. Its up-down position never moves; each press is handed to the
// edit (CVWnd_Edit::StepBySpin), which keeps the value.
class CEditSpin : public CVWnd_Base {
public:
    static inline constexpr int kWidth = 18;

    // Construction: no window; `edit` owns this object.
    explicit CEditSpin(CVWnd_Edit& edit) : edit_(edit) {}

    // Attributes
    const char16_t* GetNativeClassName() const override { return u"CEditSpin"; }

    // Operations
    // Makes and subclasses the up-down window; null on failure.
    HWND Create(HWND parent, int id, DWORD style);

protected:
    LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CVWnd_Edit& edit_;
};
