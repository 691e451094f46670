#pragma once

#include <cstdint>

#include "runtime/CVolBoxedValue.h"

class CWString;

namespace vol {

// Floats and doubles compare equal when they differ by at most this much.
inline constexpr double VALUE_EQUALITY_TOLERANCE = 1e-6;

// Text rules of the boxed values (see runtime/ValueText.h for the forms).
struct Int32Text {
    static void Write(std::int32_t value, CWString& out);
};
struct Int64Text {
    static void Write(std::int64_t value, CWString& out);
};
struct CharText {
    static void Write(char16_t unit, CWString& out);
};
struct FloatText {
    static void Write(float value, CWString& out);
};
struct DoubleText {
    static void Write(double value, CWString& out);
};

// Equality rules.
struct ExactEquality {
    template <class Raw>
    static bool Equal(Raw left, Raw right) {
        return left == right;
    }
};
struct ToleranceEquality {
    static bool Equal(double left, double right);
};

// The nine boxed values. Byte and short widen to 32 bits (keeping the sign) for their text.
class CVolByteValue : public CVolBoxedValue<CVolByteValue, std::int8_t, Int32Text, ExactEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolByteValue";
    using CVolBoxedValue::CVolBoxedValue;
};

class CVolShortValue : public CVolBoxedValue<CVolShortValue, std::int16_t, Int32Text, ExactEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolShortValue";
    using CVolBoxedValue::CVolBoxedValue;
};

class CVolCharValue : public CVolBoxedValue<CVolCharValue, char16_t, CharText, ExactEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolCharValue";
    using CVolBoxedValue::CVolBoxedValue;
};

class CVolIntValue : public CVolBoxedValue<CVolIntValue, std::int32_t, Int32Text, ExactEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolIntValue";
    using CVolBoxedValue::CVolBoxedValue;
};

// Same behaviour as CVolIntValue, a different class: values of the two never assign to each other.
class CVolIntAltValue : public CVolBoxedValue<CVolIntAltValue, std::int32_t, Int32Text, ExactEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolIntAltValue";
    using CVolBoxedValue::CVolBoxedValue;
};

class CVolLongValue : public CVolBoxedValue<CVolLongValue, std::int64_t, Int64Text, ExactEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolLongValue";
    using CVolBoxedValue::CVolBoxedValue;
};

// Same behaviour as CVolLongValue, a different class.
class CVolLongAltValue : public CVolBoxedValue<CVolLongAltValue, std::int64_t, Int64Text, ExactEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolLongAltValue";
    using CVolBoxedValue::CVolBoxedValue;
};

class CVolFloatValue : public CVolBoxedValue<CVolFloatValue, float, FloatText, ToleranceEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolFloatValue";
    using CVolBoxedValue::CVolBoxedValue;
};

class CVolDoubleValue : public CVolBoxedValue<CVolDoubleValue, double, DoubleText, ToleranceEquality> {
public:
    static inline constexpr char kClassName[] = "vol::CVolDoubleValue";
    using CVolBoxedValue::CVolBoxedValue;
};

// Instantiated once, in BoxedValues.cpp.
extern template class CVolBoxedValue<CVolByteValue, std::int8_t, Int32Text, ExactEquality>;
extern template class CVolBoxedValue<CVolShortValue, std::int16_t, Int32Text, ExactEquality>;
extern template class CVolBoxedValue<CVolCharValue, char16_t, CharText, ExactEquality>;
extern template class CVolBoxedValue<CVolIntValue, std::int32_t, Int32Text, ExactEquality>;
extern template class CVolBoxedValue<CVolIntAltValue, std::int32_t, Int32Text, ExactEquality>;
extern template class CVolBoxedValue<CVolLongValue, std::int64_t, Int64Text, ExactEquality>;
extern template class CVolBoxedValue<CVolLongAltValue, std::int64_t, Int64Text, ExactEquality>;
extern template class CVolBoxedValue<CVolFloatValue, float, FloatText, ToleranceEquality>;
extern template class CVolBoxedValue<CVolDoubleValue, double, DoubleText, ToleranceEquality>;

}  // namespace vol
