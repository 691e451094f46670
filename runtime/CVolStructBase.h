#pragma once

#include "runtime/CVolObject.h"

// Common base of the small value structures (point, size, text array). No data and no behaviour of its
// own: its debug text is the root's.
class CVolStructBase : public CVolObject {
public:
    // Construction
    CVolStructBase() = default;
    CVolStructBase(const CVolStructBase&) = default;
    CVolStructBase& operator=(const CVolStructBase&) = default;
    ~CVolStructBase() override = default;

    static const CVolClassInfo& ClassInfo();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
};
