#pragma once

#include <cstdint>

#include "runtime/CVolIntPairValue.h"

namespace vol {

// An extent: width, then height.
class CVolSizeValue : public CVolIntPairValue<CVolSizeValue> {
public:
    static inline constexpr char kClassName[] = "vol::CVolSizeValue";
    static inline constexpr char16_t kTextFormat[] = u"{ 宽度: %d; 高度: %d }";

    // Construction
    using CVolIntPairValue::CVolIntPairValue;

    // Attributes
    std::int32_t GetWidth() const { return first_; }
    std::int32_t GetHeight() const { return second_; }
    void SetWidth(std::int32_t value) { first_ = value; }
    void SetHeight(std::int32_t value) { second_ = value; }
};

extern template class CVolIntPairValue<CVolSizeValue>;

}  // namespace vol
