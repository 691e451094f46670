#pragma once

#include <cstdint>

#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CVolStructBase.h"
#include "runtime/CWString.h"

namespace vol {

// A structure of two signed 32-bit numbers, shared by the point and size values. Derived supplies
// `kClassName` (the record's name) and `kTextFormat`, a format taking the two numbers as "%d" in order.
// The stream form is the first number, then the second, 4 little-endian bytes each.
template <class Derived>
class CVolIntPairValue : public CVolStructBase {
public:
    // Construction
    CVolIntPairValue() = default;
    CVolIntPairValue(std::int32_t first, std::int32_t second) : first_(first), second_(second) {}

    static const CVolClassInfo& ClassInfo() {
        static const CVolClassInfo info(Derived::kClassName, &CVolStructBase::ClassInfo(),
                                        &CreateVolObject<Derived>);
        return info;
    }

    // Overridables
    const CVolClassInfo& GetClassInfo() const override { return ClassInfo(); }

    bool IsEqual(const CVolObject& other) const override {
        if (!CVolObject::IsEqual(other)) {  // the class records match from here on
            return false;
        }
        const auto& pair = static_cast<const CVolIntPairValue&>(other);
        return first_ == pair.first_ && second_ == pair.second_;
    }

    bool Assign(const CVolObject& other) override {
        if (!CVolObject::Assign(other)) {  // refuses anything that is not a kind of Derived
            return false;
        }
        const auto& pair = static_cast<const CVolIntPairValue&>(other);
        first_ = pair.first_;
        second_ = pair.second_;
        return true;
    }

    void Reset() override {
        CVolObject::Reset();
        first_ = 0;
        second_ = 0;
    }

    // Replaces the text of `out`.
    void GetDumpText(CWString& out, int /*limit*/) const override {
        out.Format(Derived::kTextFormat, static_cast<int>(first_), static_cast<int>(second_));
    }

    // Both numbers or neither: a short read leaves the value as it was. Streams in error are left alone.
    void LoadFromStream(CVolInStream& input) override {
        std::int32_t first = 0;
        std::int32_t second = 0;
        if (input.IsGood() && input.ReadInt32(first) && input.ReadInt32(second)) {
            first_ = first;
            second_ = second;
        }
    }

    void SaveToStream(CVolOutStream& output) const override {
        if (output.IsGood() && output.WriteInt32(first_)) {
            output.WriteInt32(second_);
        }
    }

protected:
    std::int32_t first_ = 0;
    std::int32_t second_ = 0;
};

}  // namespace vol
