#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/ArrayDumpHeader.h"
#include "runtime/CVolClassInfo.h"
#include "runtime/CVolCommonBaseWithMemManager.h"
#include "runtime/CVolMem.h"

class CVolInStream;
class CVolOutStream;
class CWString;

// An array of wide texts, lighter than a value object: the storage of the file lists and of the
// text-array value. Each text is a NUL-terminated copy in one block of its own from the memory
// manager; a null element stands for the empty text. The pointer buffer grows geometrically, so
// appending hundreds of thousands of texts stays linear.
class CMStringArray final : public CVolCommonBaseWithMemManager {
public:
    static inline constexpr int kDefaultDumpLimit = ARRAY_DUMP_DEFAULT_LIMIT;

    // Construction
    CMStringArray() = default;
    CMStringArray(const CMStringArray& other);
    CMStringArray& operator=(const CMStringArray& other);
    ~CMStringArray();

    static const CVolClassInfo& ClassInfo();

    // Attributes
    std::int64_t GetCount() const { return texts_.GetSize() / static_cast<std::int64_t>(sizeof(char16_t*)); }
    // The text at `index`; the empty text for a null element or an index outside the array.
    const char16_t* GetAt(std::int64_t index) const;

    // Operations
    // Appends a copy of `text` (a null element for a null or empty text) and returns its index.
    std::int64_t Append(const char16_t* text);
    void Clear();  // frees every text and the pointer buffer
    // A signed 32-bit count, then each text in the wide-string stream form (byte count, then the code
    // units with their NUL; the empty text as count 0).
    void Save(CVolOutStream& output) const;
    // Clears the array, then reads the count and that many texts, stopping at the first bad one.
    void Load(CVolInStream& input);
    // Appends a header and one line per member shown, the text quoted with C-style escapes.
    // The limit bounds the members shown: 0 means kDefaultDumpLimit, a negative limit shows all.
    void GetDumpText(CWString& out, int limit) const;
    // Clears the array, then cuts `text` at every code unit found in `delimiters` (a NUL-terminated
    // set). Each piece is trimmed of code units below 33 and of U+3000 at both ends; empty pieces are
    // kept, so a delimiter at the end adds a final empty element. Null or empty text gives nothing.
    // Returns the number of elements.
    std::int64_t Split(const char16_t* text, const char16_t* delimiters);

    // Overridables, slots 5 and 6.
    virtual const CVolClassInfo& GetClassInfo() const;
    virtual bool IsKindOf(const CVolClassInfo& record) const;

private:
    char16_t* TextAt(std::int64_t index) const;
    void AppendUnits(const char16_t* units, std::size_t count);

    CVolMem texts_;
};
