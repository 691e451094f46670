#pragma once

#include "ui/CVolWinButtonBase.h"

// A check box (BS_AUTOCHECKBOX): a click toggles it, then raises Clicked.
class CVolWinCheckBox : public CVolWinButtonBase {
public:
    // The push button's style with BS_AUTOCHECKBOX.
    static inline constexpr DWORD kDefaultStyle =
        WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_AUTOCHECKBOX;

    // Construction: the bridge and native object, no window.
    CVolWinCheckBox();
    CVolWinCheckBox(const CVolWinCheckBox& other) = default;
    CVolWinCheckBox& operator=(const CVolWinCheckBox& other);
    ~CVolWinCheckBox() override = default;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    // Ticked: the window answers BM_GETCHECK with BST_CHECKED. False while there is no window.
    bool IsChecked() const;
    // Ticks or clears the box; does nothing while there is no window. Raises no event.
    void SetChecked(bool checked);

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;
};
