#pragma once

#include <cstdint>

#include "runtime/CVolIntPairValue.h"

namespace vol {

// A position: horizontal, then vertical.
class CVolPointValue : public CVolIntPairValue<CVolPointValue> {
public:
    static inline constexpr char kClassName[] = "vol::CVolPointValue";
    static inline constexpr char16_t kTextFormat[] = u"{ 横向位置: %d; 纵向位置: %d }";

    // Construction
    using CVolIntPairValue::CVolIntPairValue;

    // Attributes
    std::int32_t GetHorizontal() const { return first_; }
    std::int32_t GetVertical() const { return second_; }
    void SetHorizontal(std::int32_t value) { first_ = value; }
    void SetVertical(std::int32_t value) { second_ = value; }
};

extern template class CVolIntPairValue<CVolPointValue>;

}  // namespace vol
