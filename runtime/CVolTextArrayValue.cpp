#include "runtime/CVolTextArrayValue.h"

#include <string_view>

#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"

namespace vol {

const CVolClassInfo& CVolTextArrayValue::ClassInfo() {
    static const CVolClassInfo info("vol::CVolTextArrayValue", &CVolStructBase::ClassInfo(),
                                    &CreateVolObject<CVolTextArrayValue>);
    return info;
}

const CVolClassInfo& CVolTextArrayValue::GetClassInfo() const {
    return ClassInfo();
}

// The root test includes the class records, so `other` is known to hold a string array before it is
// read as one.
bool CVolTextArrayValue::IsEqual(const CVolObject& other) const {
    if (!CVolObject::IsEqual(other)) {
        return false;
    }
    const CMStringArray& otherTexts = static_cast<const CVolTextArrayValue&>(other).texts_;
    if (texts_.GetCount() != otherTexts.GetCount()) {
        return false;
    }
    for (std::int64_t i = 0; i < texts_.GetCount(); ++i) {
        if (std::u16string_view(texts_.GetAt(i)) != std::u16string_view(otherTexts.GetAt(i))) {
            return false;
        }
    }
    return true;
}

bool CVolTextArrayValue::Assign(const CVolObject& other) {
    if (!CVolObject::Assign(other)) {
        return false;
    }
    texts_ = static_cast<const CVolTextArrayValue&>(other).texts_;  // self-assignment keeps the texts
    return true;
}

void CVolTextArrayValue::Reset() {
    CVolObject::Reset();
    texts_.Clear();
}

void CVolTextArrayValue::GetDumpText(CWString& out, int limit) const {
    texts_.GetDumpText(out, limit);
}

void CVolTextArrayValue::LoadFromStream(CVolInStream& input) {
    if (!input.IsGood()) {
        return;
    }
    CMStringArray loaded;
    loaded.Load(input);
    if (input.IsGood()) {
        texts_ = loaded;
    }
}

void CVolTextArrayValue::SaveToStream(CVolOutStream& output) const {
    if (output.IsGood()) {
        texts_.Save(output);
    }
}

}  // namespace vol
