#include "runtime/BoxedValues.h"

#include <cmath>

#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWString.h"
#include "runtime/ValueText.h"

namespace vol {

template <class Derived, class Raw, class TextRule, class Equality>
const CVolClassInfo& CVolBoxedValue<Derived, Raw, TextRule, Equality>::ClassInfo() {
    static const CVolClassInfo info(Derived::kClassName, &CVolBaseDataType::ClassInfo(),
                                    &CreateVolObject<Derived>);
    return info;
}

template <class Derived, class Raw, class TextRule, class Equality>
const CVolClassInfo& CVolBoxedValue<Derived, Raw, TextRule, Equality>::GetClassInfo() const {
    return ClassInfo();
}

// Callers have matched the class records (IsEqual) or checked IsKindOf (Assign), so `other` is a
// Derived or derives from it.
template <class Derived, class Raw, class TextRule, class Equality>
Raw CVolBoxedValue<Derived, Raw, TextRule, Equality>::ValueOf(const CVolObject& other) {
    return static_cast<const CVolBoxedValue&>(other).value_;
}

template <class Derived, class Raw, class TextRule, class Equality>
bool CVolBoxedValue<Derived, Raw, TextRule, Equality>::IsEqual(const CVolObject& other) const {
    return CVolObject::IsEqual(other) && Equality::Equal(value_, ValueOf(other));
}

template <class Derived, class Raw, class TextRule, class Equality>
bool CVolBoxedValue<Derived, Raw, TextRule, Equality>::Assign(const CVolObject& other) {
    if (!CVolObject::Assign(other)) {
        return false;
    }
    value_ = ValueOf(other);
    return true;
}

template <class Derived, class Raw, class TextRule, class Equality>
void CVolBoxedValue<Derived, Raw, TextRule, Equality>::Reset() {
    CVolObject::Reset();
    value_ = Raw{};
}

template <class Derived, class Raw, class TextRule, class Equality>
void CVolBoxedValue<Derived, Raw, TextRule, Equality>::GetDumpText(CWString& out, int /*limit*/) const {
    TextRule::Write(value_, out);
}

// Read takes all the bytes or none.
template <class Derived, class Raw, class TextRule, class Equality>
void CVolBoxedValue<Derived, Raw, TextRule, Equality>::LoadFromStream(CVolInStream& input) {
    Raw loaded;
    if (input.IsGood() && input.Read(&loaded, kStreamSize)) {
        value_ = loaded;
    }
}

template <class Derived, class Raw, class TextRule, class Equality>
void CVolBoxedValue<Derived, Raw, TextRule, Equality>::SaveToStream(CVolOutStream& output) const {
    if (output.IsGood()) {
        output.Write(&value_, kStreamSize);
    }
}

template <class Derived, class Raw, class TextRule, class Equality>
void* CVolBoxedValue<Derived, Raw, TextRule, Equality>::GetValueAddress() {
    return &value_;
}

void Int32Text::Write(std::int32_t value, CWString& out) {
    Int32ToText(value, out);
}
void Int64Text::Write(std::int64_t value, CWString& out) {
    Int64ToText(value, out);
}
void CharText::Write(char16_t unit, CWString& out) {
    CharToText(unit, out);
}
void FloatText::Write(float value, CWString& out) {
    FloatToText(value, out);
}
void DoubleText::Write(double value, CWString& out) {
    DoubleToText(value, out);
}

// Floats widen exactly, so one rule serves both widths. Equal values compare equal first: the
// difference of two equal infinities is NaN, which no tolerance would accept.
bool ToleranceEquality::Equal(double left, double right) {
    return left == right || std::fabs(left - right) <= VALUE_EQUALITY_TOLERANCE;
}

// The nine classes; each gets its members and its one class record here.
template class CVolBoxedValue<CVolByteValue, std::int8_t, Int32Text, ExactEquality>;
template class CVolBoxedValue<CVolShortValue, std::int16_t, Int32Text, ExactEquality>;
template class CVolBoxedValue<CVolCharValue, char16_t, CharText, ExactEquality>;
template class CVolBoxedValue<CVolIntValue, std::int32_t, Int32Text, ExactEquality>;
template class CVolBoxedValue<CVolIntAltValue, std::int32_t, Int32Text, ExactEquality>;
template class CVolBoxedValue<CVolLongValue, std::int64_t, Int64Text, ExactEquality>;
template class CVolBoxedValue<CVolLongAltValue, std::int64_t, Int64Text, ExactEquality>;
template class CVolBoxedValue<CVolFloatValue, float, FloatText, ToleranceEquality>;
template class CVolBoxedValue<CVolDoubleValue, double, DoubleText, ToleranceEquality>;

}  // namespace vol
