#include "runtime/CWString.h"

#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/Utf8Conversion.h"
#include "runtime/WideFormat.h"

namespace {

// The one empty text every empty string reads as.
const char16_t kEmptyText[1] = {0};

std::int64_t TextLength(const char16_t* text) {
    return text != nullptr ? static_cast<std::int64_t>(std::char_traits<char16_t>::length(text)) : 0;
}

bool PointsInto(const void* pointer, const CVolMem& buffer) {
    const auto address = reinterpret_cast<std::uintptr_t>(pointer);
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.GetData());
    return buffer.GetData() != nullptr && address >= start &&
           address < start + static_cast<std::uintptr_t>(buffer.GetCapacity());
}

}  // namespace

const CVolClassInfo& CWString::ClassInfo() {
    static const CVolClassInfo info("CWString", &CVolObject::ClassInfo(), &CreateVolObject<CWString>);
    return info;
}

CWString::CWString(const char16_t* text) {
    SetText(text);
}

CWString::CWString(const CWString& other)
    : CVolObject(other), constText_(other.constText_), buffer_(other.buffer_) {}

CWString::CWString(CWString&& other) noexcept
    : CVolObject(other),
      constText_(std::exchange(other.constText_, nullptr)),
      buffer_(std::move(other.buffer_)) {}

CWString& CWString::operator=(const CWString& other) {
    Assign(other);
    return *this;
}

CWString& CWString::operator=(CWString&& other) noexcept {
    if (this != &other) {
        CVolObject::operator=(other);
        constText_ = std::exchange(other.constText_, nullptr);
        buffer_ = std::move(other.buffer_);
    }
    return *this;
}

CWString::~CWString() = default;

const CVolClassInfo& CWString::GetClassInfo() const {
    return ClassInfo();
}

const char16_t* CWString::GetText() const {
    if (constText_ != nullptr) {
        return constText_;
    }
    if (buffer_.GetSize() == 0) {
        return kEmptyText;
    }
    return reinterpret_cast<const char16_t*>(buffer_.GetData());
}

std::int64_t CWString::GetLength() const {
    if (constText_ != nullptr) {
        return TextLength(constText_);
    }
    return buffer_.GetSize() < 2 ? 0 : buffer_.GetSize() / 2 - 1;
}

bool CWString::IsEmpty() const {
    if (constText_ != nullptr) {
        return constText_[0] == 0;
    }
    return buffer_.GetSize() < 3;
}

void CWString::MakeOwned() {
    if (constText_ == nullptr) {
        return;
    }
    const char16_t* literal = constText_;
    constText_ = nullptr;
    const std::int64_t bytes = (TextLength(literal) + 1) * 2;
    std::memcpy(buffer_.SetSize(bytes), literal, static_cast<std::size_t>(bytes));
}

// Replaces the owned text with a buffer built aside. Building aside keeps every setter safe when its
// argument is this string's own text, which must stay readable until the copy is made.
void CWString::TakeBuffer(CVolMem& built) {
    constText_ = nullptr;
    buffer_.SwapStorage(built);
}

void CWString::SetText(const char16_t* text) {
    SetUnits(text, TextLength(text));
}

void CWString::SetUnits(const char16_t* units, std::int64_t count) {
    if (count < 1) {
        Empty();
        return;
    }
    CVolMem built(kGrowthStep);
    auto* target = static_cast<char16_t*>(built.SetSize((count + 1) * 2));
    if (units != nullptr) {
        std::memcpy(target, units, static_cast<std::size_t>(count) * 2);
    } else {
        std::memset(target, 0, static_cast<std::size_t>(count) * 2);
    }
    target[count] = 0;
    TakeBuffer(built);
}

void CWString::SetUtf8(const char* text) {
    CVolMem built(kGrowthStep);
    const char16_t* converted = Utf8ToWide(text, built);
    if (converted[0] == 0) {
        Empty();
        return;
    }
    TakeBuffer(built);
}

void CWString::Append(const char16_t* text) {
    if (text == nullptr || text[0] == 0) {
        return;
    }
    AppendUnits(text, TextLength(text));
}

void CWString::AppendChar(char16_t unit) {
    if (unit == 0) {
        return;
    }
    AppendUnits(&unit, 1);
}

// Drops the trailing NUL, then adds the units and a new NUL, growing by the 254-byte step.
void CWString::AppendUnits(const char16_t* units, std::int64_t count) {
    MakeOwned();
    std::int64_t keep = buffer_.GetSize();
    if (keep >= 2 && reinterpret_cast<const char16_t*>(buffer_.GetData())[keep / 2 - 1] == 0) {
        keep -= 2;
    }
    // The units may be this string's own text; find them again after the buffer has moved.
    const bool aliased = PointsInto(units, buffer_);
    const std::ptrdiff_t sourceOffset =
        aliased ? reinterpret_cast<const unsigned char*>(units) - buffer_.GetData() : 0;
    auto* data = static_cast<unsigned char*>(buffer_.SetSize(keep + (count + 1) * 2));
    const void* source = aliased ? data + sourceOffset : static_cast<const void*>(units);
    std::memmove(data + keep, source, static_cast<std::size_t>(count) * 2);
    reinterpret_cast<char16_t*>(data + keep)[count] = 0;
}

void CWString::Format(const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

// Measures first, then formats into a buffer built aside, so that an argument may be this string.
void CWString::FormatV(const char16_t* format, std::va_list args) {
    if (format == nullptr) {
        Empty();
        return;
    }
    std::va_list measureArgs;
    va_copy(measureArgs, args);
    const int length = FormatWideV(nullptr, 0, format, measureArgs);
    va_end(measureArgs);
    if (length < 1) {
        Empty();
        return;
    }
    CVolMem built(kGrowthStep);
    auto* target = static_cast<char16_t*>(built.SetSize((static_cast<std::int64_t>(length) + 1) * 2));
    std::va_list writeArgs;
    va_copy(writeArgs, args);
    const int written = FormatWideV(target, static_cast<std::size_t>(length) + 1, format, writeArgs);
    va_end(writeArgs);
    if (written < 1) {
        Empty();
        return;
    }
    const int kept = written < length ? written : length;
    target[kept] = 0;
    built.SetSize((static_cast<std::int64_t>(kept) + 1) * 2);
    TakeBuffer(built);
}

void CWString::AppendFormat(const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CWString::AppendFormatV(const char16_t* format, std::va_list args) {
    CWString formatted;
    formatted.FormatV(format, args);
    Append(formatted.GetText());
}

CWString CWString::Left(std::int64_t count) const {
    CWString result;
    const std::int64_t length = GetLength();
    result.SetUnits(GetText(), count < length ? count : length);
    return result;
}

void CWString::Empty() {
    constText_ = nullptr;
    buffer_.Empty();
}

void CWString::ViewLiteral(const char16_t* literal) {
    buffer_.Empty();
    constText_ = literal;
}

bool CWString::IsEqual(const CVolObject& other) const {
    return CVolObject::IsEqual(other) &&
           std::u16string_view(GetText()) ==
               std::u16string_view(static_cast<const CWString&>(other).GetText());
}

bool CWString::Assign(const CVolObject& other) {
    if (!CVolObject::Assign(other)) {
        return false;
    }
    const auto& text = static_cast<const CWString&>(other);
    constText_ = text.constText_;
    buffer_ = text.buffer_;
    return true;
}

void CWString::Reset() {
    CVolObject::Reset();
    Empty();
}

void CWString::GetDumpText(CWString& out, int /*limit*/) const {
    if (out.GetText() == GetText()) {
        return;
    }
    out.SetText(GetText());
}

// A loaded buffer must be a well-formed owned text: an even byte count ending in a NUL code unit.
// Anything else would let readers run past the end of the block, so it counts as a bad count.
void CWString::LoadFromStream(CVolInStream& input) {
    Empty();
    buffer_.LoadFromStream(input);
    const std::int64_t size = buffer_.GetSize();
    if (size == 0) {
        return;
    }
    const bool wellFormed =
        size % 2 == 0 && reinterpret_cast<const char16_t*>(buffer_.GetData())[size / 2 - 1] == 0;
    if (!wellFormed) {
        Empty();
        input.SetStatus(CVolStream::kShortRead);
    }
}

void CWString::SaveToStream(CVolOutStream& output) const {
    if (constText_ == nullptr) {
        buffer_.SaveToStream(output);
        return;
    }
    CWString owned(*this);
    owned.MakeOwned();
    owned.buffer_.SaveToStream(output);
}

CWString CWString::Concatenate(const char16_t* left, std::int64_t leftLength, const char16_t* right,
                               std::int64_t rightLength) {
    CWString result;
    auto* target = static_cast<char16_t*>(result.buffer_.SetSize((leftLength + rightLength + 1) * 2));
    std::memcpy(target, left, static_cast<std::size_t>(leftLength) * 2);
    std::memcpy(target + leftLength, right, static_cast<std::size_t>(rightLength) * 2);
    target[leftLength + rightLength] = 0;
    return result;
}

CWString operator+(const CWString& left, const CWString& right) {
    if (left.IsEmpty()) {
        return right;
    }
    if (right.IsEmpty()) {
        return left;
    }
    return CWString::Concatenate(left.GetText(), left.GetLength(), right.GetText(), right.GetLength());
}

CWString operator+(const CWString& left, const char16_t* right) {
    if (right == nullptr || right[0] == 0) {
        return left;
    }
    return CWString::Concatenate(left.GetText(), left.GetLength(), right, TextLength(right));
}
