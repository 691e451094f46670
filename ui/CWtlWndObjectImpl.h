#pragma once

#include <utility>

#include "ui/CVWnd_Base.h"
#include "ui/CWtlWndObject.h"

// The bridge of one kind of native window. It makes and owns the native object.
template <class TNative>
class CWtlWndObjectImpl final : public CWtlWndObject {
public:
    template <class... Args>
    explicit CWtlWndObjectImpl(Args&&... args)
        : CWtlWndObjectImpl(Adopt{new TNative(std::forward<Args>(args)...)}) {}

    // Attributes
    TNative& GetNative() const { return *native_; }

    // Overridables
    CVWnd_Base* GetNativeObject() const override { return native_; }

protected:
    ~CWtlWndObjectImpl() override { CVWnd_Base::DeleteWhenIdle(native_); }

private:
    struct Adopt {
        TNative* native;
    };
    explicit CWtlWndObjectImpl(Adopt adopt)
        : CWtlWndObject(adopt.native->GetHandleField()), native_(adopt.native) {}

    TNative* native_;
};
