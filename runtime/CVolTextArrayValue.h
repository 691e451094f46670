#pragma once

#include "runtime/CMStringArray.h"
#include "runtime/CVolStructBase.h"

namespace vol {

// A string array as a value object: deep copies, text-by-text equality, and the array's own debug text
// and stream form.
class CVolTextArrayValue : public CVolStructBase {
public:
    // Construction
    CVolTextArrayValue() = default;
    explicit CVolTextArrayValue(const CMStringArray& texts) : texts_(texts) {}
    CVolTextArrayValue(const CVolTextArrayValue&) = default;
    CVolTextArrayValue& operator=(const CVolTextArrayValue&) = default;
    ~CVolTextArrayValue() override = default;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CMStringArray& GetTexts() { return texts_; }
    const CMStringArray& GetTexts() const { return texts_; }

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Same class, flag bit 0 and tag, same count and the same code units at every index (a null
    // element reads as the empty text).
    bool IsEqual(const CVolObject& other) const override;
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    // Appends the array's dump (see CMStringArray::GetDumpText).
    void GetDumpText(CWString& out, int limit) const override;
    // The array's stream form. A load that fails part-way leaves the texts as they were.
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;

private:
    CMStringArray texts_;
};

}  // namespace vol
