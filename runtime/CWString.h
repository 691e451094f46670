#pragma once

#include <cstdarg>
#include <cstdint>

#include "runtime/CVolMem.h"
#include "runtime/CVolObject.h"

// The program's text: UTF-16, NUL-terminated. A string is in one of three states: a view of a constant
// literal (nothing copied; the literal must outlive the string), owned (the buffer holds the code
// units and one NUL, so its size counts bytes including the NUL), or empty (no literal, buffer size 0).
// Every change first turns a literal view into an owned copy; nothing ever writes through a literal.
//
// Reading never yields null: a literal if set, else the shared empty text while the buffer is empty,
// else the buffer. Null text arguments are read as the empty text throughout.
class CWString : public CVolObject {
public:
    static inline constexpr std::int64_t kGrowthStep = 254;

    // Construction
    CWString() = default;
    explicit CWString(const char16_t* text);  // an owned copy
    CWString(const CWString& other);          // flags, tag, the literal pointer, a deep copy of the buffer
    CWString(CWString&& other) noexcept;
    CWString& operator=(const CWString& other);  // as Assign
    CWString& operator=(CWString&& other) noexcept;
    ~CWString() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    const char16_t* GetText() const;
    std::int64_t GetLength() const;  // in code units
    bool IsEmpty() const;
    const char16_t* GetConstText() const { return constText_; }  // the literal viewed, or null
    const CVolMem& GetBuffer() const { return buffer_; }

    // Operations
    void SetText(const char16_t* text);
    // `count` code units from `units` (zeros when `units` is null), then a NUL; below 1 empties.
    void SetUnits(const char16_t* units, std::int64_t count);
    void SetUtf8(const char* text);
    void Append(const char16_t* text);
    void AppendChar(char16_t unit);  // 0 does nothing
    // printf-style formatting (see runtime/WideFormat.h; %s takes a const char16_t*). An empty result
    // or an invalid format leaves the string empty.
    void Format(const char16_t* format, ...);
    void FormatV(const char16_t* format, std::va_list args);
    void AppendFormat(const char16_t* format, ...);
    void AppendFormatV(const char16_t* format, std::va_list args);
    // The first `count` code units (clamped to the length), owned; `count` <= 0 gives an empty string.
    CWString Left(std::int64_t count) const;
    void Empty();  // releases the buffer and drops the literal

    CWString& operator+=(const char16_t* text) {
        Append(text);
        return *this;
    }
    CWString& operator+=(const CWString& text) {
        Append(text.GetText());
        return *this;
    }

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Same class record, flag bit 0 and tag, and the same code units (case-sensitive).
    bool IsEqual(const CVolObject& other) const override;
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    // Replaces the text of `out` with this text.
    void GetDumpText(CWString& out, int limit) const override;
    // The buffer in the CVolMem stream form: byte count, then the code units with their NUL.
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;

    friend CWString operator+(const CWString& left, const CWString& right);
    friend CWString operator+(const CWString& left, const char16_t* right);

protected:
    // Makes this string a view of `literal` (null gives the empty string), releasing any owned text.
    void ViewLiteral(const char16_t* literal);

private:
    void MakeOwned();
    void AppendUnits(const char16_t* units, std::int64_t count);
    void TakeBuffer(CVolMem& built);
    static CWString Concatenate(const char16_t* left, std::int64_t leftLength, const char16_t* right,
                                std::int64_t rightLength);

    const char16_t* constText_ = nullptr;
    CVolMem buffer_{kGrowthStep};
};

// a + b: a copy of b when a is empty, a copy of a when b is empty, else the two texts owned together.
CWString operator+(const CWString& left, const CWString& right);
CWString operator+(const CWString& left, const char16_t* right);
