#pragma once

#include <cstddef>
#include <type_traits>

#include "runtime/CVolBaseDataType.h"

class CVolInStream;
class CVolOutStream;
class CWString;

namespace vol {

// One boxed basic value, shared by the nine value classes of runtime/BoxedValues.h.
//
//   Derived   the named class; its `kClassName` is the record's name. Each Derived has a record of its
//             own whose base is CVolBaseDataType, so two classes over the same raw type (the int and
//             alternative int values) are never kinds of each other.
//   Raw       the stored value; its bytes, in machine order, are the stream form.
//   TextRule  `static void Write(Raw, CWString& out)`: replaces `out` with the debug text.
//   Equality  `static bool Equal(Raw, Raw)`.
//
// The members are defined in BoxedValues.cpp, which instantiates the nine classes once.
template <class Derived, class Raw, class TextRule, class Equality>
class CVolBoxedValue : public CVolBaseDataType {
    static_assert(std::is_trivially_copyable_v<Raw>);

public:
    using RawType = Raw;
    static inline constexpr std::size_t kStreamSize = sizeof(Raw);

    // Construction
    CVolBoxedValue() = default;
    explicit CVolBoxedValue(Raw value) : value_(value) {}

    static const CVolClassInfo& ClassInfo();

    // Attributes
    Raw GetValue() const { return value_; }
    void SetValue(Raw value) { value_ = value; }

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Same class record, flag bit 0 and tag, and Equality on the values.
    bool IsEqual(const CVolObject& other) const override;
    // Flags, tag and value from a kind of Derived; anything else is refused.
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    // Replaces the text of `out`.
    void GetDumpText(CWString& out, int limit) const override;
    // The raw bytes. A short read sets the stream status and leaves the value as it was; a stream
    // already in error reads and writes nothing.
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;
    void* GetValueAddress() override;

private:
    static Raw ValueOf(const CVolObject& other);

    Raw value_{};
};

}  // namespace vol
