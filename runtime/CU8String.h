#pragma once

#include <cstdint>

#include "runtime/CVolMem.h"
#include "runtime/CVolObject.h"

// UTF-8 text, shaped like CWString with bytes for code units: a view of a constant narrow literal, or
// an owned buffer holding the bytes and one NUL (growth step 127), or empty. The program uses it to
// hand texts to the workbook library.
class CU8String : public CVolObject {
public:
    static inline constexpr std::int64_t kGrowthStep = 127;

    // Construction
    CU8String() = default;
    explicit CU8String(const char* literal) : constText_(literal) {}  // a view; the literal must outlive it
    explicit CU8String(const char16_t* text) { SetWide(text); }       // converted to UTF-8
    CU8String(const CU8String& other);
    CU8String(CU8String&& other) noexcept;
    CU8String& operator=(const CU8String& other);  // as Assign
    CU8String& operator=(CU8String&& other) noexcept;
    ~CU8String() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    const char* GetText() const;     // never null
    std::int64_t GetLength() const;  // in bytes
    bool IsEmpty() const;
    const char* GetConstText() const { return constText_; }
    const CVolMem& GetBuffer() const { return buffer_; }

    // Operations
    // Converts the whole text; an empty or failed conversion leaves the string empty.
    void SetWide(const char16_t* text);
    void Empty();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Same class record, flag bit 0 and tag, and the same bytes up to and including the NUL.
    bool IsEqual(const CVolObject& other) const override;
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    // Replaces the text of `out` with this text converted to UTF-16.
    void GetDumpText(CWString& out, int limit) const override;
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;

private:
    const char* constText_ = nullptr;
    CVolMem buffer_{kGrowthStep};
};
