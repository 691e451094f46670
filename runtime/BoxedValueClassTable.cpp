#include "runtime/BoxedValueClassTable.h"

#include "runtime/BoxedValues.h"

const std::array<const CVolClassInfo*, BOXED_VALUE_CLASS_COUNT>& BoxedValueClassTable() {
    static const std::array<const CVolClassInfo*, BOXED_VALUE_CLASS_COUNT> table = {
        &vol::CVolByteValue::ClassInfo(),    &vol::CVolShortValue::ClassInfo(),
        &vol::CVolCharValue::ClassInfo(),    &vol::CVolIntValue::ClassInfo(),
        &vol::CVolIntAltValue::ClassInfo(),  &vol::CVolLongValue::ClassInfo(),
        &vol::CVolLongAltValue::ClassInfo(), &vol::CVolFloatValue::ClassInfo(),
        &vol::CVolDoubleValue::ClassInfo(),
    };
    return table;
}
