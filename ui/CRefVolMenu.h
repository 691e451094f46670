#pragma once

#include "appsvc/Win32Api.h"

#include "runtime/CRefObject.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolObjectArray.h"

// A shared menu of a form: the menu handle, its accelerator table, a byte buffer and the owned
// sub-entries. The holder owns both handles; the last Release destroys them.
class CRefVolMenu : public CRefObject {
public:
    // Construction: takes ownership of both handles (either may be null).
    CRefVolMenu(HMENU menu, HACCEL accelerators);

    static const CVolClassInfo& ClassInfo();

    // Attributes
    HMENU GetMenuHandle() const { return menu_; }
    HACCEL GetAcceleratorHandle() const { return accelerators_; }
    CVolMem& GetBuffer() { return buffer_; }
    CVolObjectArray& GetEntries() { return entries_; }

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;

protected:
    ~CRefVolMenu() override;

private:
    HMENU menu_;
    HACCEL accelerators_;
    CVolMem buffer_;
    CVolObjectArray entries_;
};
