#include "runtime/CMStringArray.h"

#include <cstring>
#include <string>

#include "runtime/ArrayDumpHeader.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWString.h"

namespace {

inline constexpr std::int64_t kPointerSize = sizeof(char16_t*);
inline constexpr std::int64_t kMinimumGrowthStep = 256;
inline constexpr char16_t kEmptyText[1] = {0};
inline constexpr char16_t kIdeographicSpace = 0x3000;

bool IsTrimmed(char16_t unit) {
    return unit < 33 || unit == kIdeographicSpace;
}

bool IsDelimiter(char16_t unit, const char16_t* delimiters) {
    for (const char16_t* d = delimiters; d != nullptr && *d != 0; ++d) {
        if (*d == unit) {
            return true;
        }
    }
    return false;
}

// The quoted form of a dump line: C-style escapes, enclosed in double quotes; empty stays empty.
void AppendQuoted(CWString& out, const char16_t* text) {
    if (text[0] == 0) {
        return;
    }
    out.AppendChar(u'"');
    for (const char16_t* p = text; *p != 0; ++p) {
        switch (*p) {
            case u'\b':
                out.Append(u"\\b");
                break;
            case u'\t':
                out.Append(u"\\t");
                break;
            case u'\n':
                out.Append(u"\\n");
                break;
            case u'\f':
                out.Append(u"\\f");
                break;
            case u'\r':
                out.Append(u"\\r");
                break;
            case u'"':
                out.Append(u"\\\"");
                break;
            case u'\'':
                out.Append(u"\\'");
                break;
            case u'\\':
                out.Append(u"\\\\");
                break;
            default:
                if (*p < 32) {
                    out.AppendFormat(u"\\x%02X", static_cast<unsigned>(*p));
                } else {
                    out.AppendChar(*p);
                }
                break;
        }
    }
    out.AppendChar(u'"');
}

}  // namespace

const CVolClassInfo& CMStringArray::ClassInfo() {
    static const CVolClassInfo info("CMStringArray", nullptr);
    return info;
}

CMStringArray::CMStringArray(const CMStringArray& other) : CVolCommonBaseWithMemManager(other) {
    for (std::int64_t i = 0; i < other.GetCount(); ++i) {
        Append(other.GetAt(i));
    }
}

CMStringArray& CMStringArray::operator=(const CMStringArray& other) {
    if (this != &other) {
        Clear();
        for (std::int64_t i = 0; i < other.GetCount(); ++i) {
            Append(other.GetAt(i));
        }
    }
    return *this;
}

CMStringArray::~CMStringArray() {
    Clear();
}

const CVolClassInfo& CMStringArray::GetClassInfo() const {
    return ClassInfo();
}

bool CMStringArray::IsKindOf(const CVolClassInfo& record) const {
    return GetClassInfo().IsKindOf(record);
}

char16_t* CMStringArray::TextAt(std::int64_t index) const {
    char16_t* text = nullptr;
    std::memcpy(&text, texts_.GetData() + index * kPointerSize, kPointerSize);
    return text;
}

const char16_t* CMStringArray::GetAt(std::int64_t index) const {
    if (index < 0 || index >= GetCount()) {
        return kEmptyText;
    }
    const char16_t* text = TextAt(index);
    return text != nullptr ? text : kEmptyText;
}

std::int64_t CMStringArray::Append(const char16_t* text) {
    AppendUnits(text, text != nullptr ? std::char_traits<char16_t>::length(text) : 0);
    return GetCount() - 1;
}

void CMStringArray::AppendUnits(const char16_t* units, std::size_t count) {
    char16_t* copy = nullptr;
    if (count > 0) {
        copy = static_cast<char16_t*>(Alloc((count + 1) * sizeof(char16_t)));
        std::memcpy(copy, units, count * sizeof(char16_t));
        copy[count] = 0;
    }
    // Grow the pointer buffer by its own capacity (at least one step), so appends stay amortised O(1).
    if (texts_.GetSize() + kPointerSize > texts_.GetCapacity()) {
        const std::int64_t capacity = texts_.GetCapacity();
        texts_.SetGrowthStep(capacity > kMinimumGrowthStep ? capacity : kMinimumGrowthStep);
    }
    texts_.Append(&copy, kPointerSize);
}

void CMStringArray::Clear() {
    for (std::int64_t i = 0; i < GetCount(); ++i) {
        Free(TextAt(i));
    }
    texts_.Empty();
    texts_.SetGrowthStep(kMinimumGrowthStep);
}

void CMStringArray::Save(CVolOutStream& output) const {
    if (GetCount() > INT32_MAX) {
        output.SetStatus(CVolStream::kWriteFailed);
        return;
    }
    output.WriteInt32(static_cast<std::int32_t>(GetCount()));
    for (std::int64_t i = 0; i < GetCount() && output.IsGood(); ++i) {
        const char16_t* text = GetAt(i);
        const std::size_t bytes =
            text[0] == 0 ? 0 : (std::char_traits<char16_t>::length(text) + 1) * sizeof(char16_t);
        if (bytes > INT32_MAX) {
            output.SetStatus(CVolStream::kWriteFailed);
            return;
        }
        if (output.WriteInt32(static_cast<std::int32_t>(bytes))) {
            output.Write(text, bytes);
        }
    }
}

void CMStringArray::Load(CVolInStream& input) {
    Clear();
    std::int32_t count = 0;
    if (!input.ReadInt32(count)) {
        return;
    }
    if (count < 0) {
        input.SetStatus(CVolStream::kShortRead);
        return;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        CWString text;
        text.LoadFromStream(input);
        if (!input.IsGood()) {
            return;
        }
        Append(text.GetText());
    }
}

void CMStringArray::GetDumpText(CWString& out, int limit) const {
    const std::int64_t shown = AppendArrayDumpHeader(out, GetCount(), limit);
    for (std::int64_t i = 0; i < shown; ++i) {
        out.AppendFormat(u"\r\n%lld. ", static_cast<long long>(i + 1));
        AppendQuoted(out, GetAt(i));
    }
}

std::int64_t CMStringArray::Split(const char16_t* text, const char16_t* delimiters) {
    Clear();
    if (text == nullptr || text[0] == 0) {
        return 0;
    }
    const char16_t* pieceStart = text;
    for (const char16_t* p = text;; ++p) {
        if (*p != 0 && !IsDelimiter(*p, delimiters)) {
            continue;
        }
        const char16_t* first = pieceStart;
        const char16_t* last = p;
        while (first < last && IsTrimmed(*first)) {
            ++first;
        }
        while (last > first && IsTrimmed(last[-1])) {
            --last;
        }
        AppendUnits(first, static_cast<std::size_t>(last - first));
        if (*p == 0) {
            break;
        }
        pieceStart = p + 1;
    }
    return GetCount();
}
