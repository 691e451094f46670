#pragma once

#include "runtime/CVolObject.h"

// Common base of the boxed basic values (runtime/BoxedValues.h). It holds no data of its own; it adds
// one virtual operation after PrepareReset, the address of the raw value, so that generic code can
// reach the value of any boxed object without knowing its class.
class CVolBaseDataType : public CVolObject {
public:
    // Construction
    CVolBaseDataType() = default;
    CVolBaseDataType(const CVolBaseDataType&) = default;
    CVolBaseDataType& operator=(const CVolBaseDataType&) = default;
    ~CVolBaseDataType() override = default;

    static const CVolClassInfo& ClassInfo();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Slot 18: the raw value inside this object; null here, since the base holds none.
    virtual void* GetValueAddress();
};
