#include "runtime/CU8String.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWString.h"
#include "runtime/Utf8Conversion.h"

namespace {

const char kEmptyText[1] = {0};

}  // namespace

const CVolClassInfo& CU8String::ClassInfo() {
    static const CVolClassInfo info("CU8String", &CVolObject::ClassInfo(), &CreateVolObject<CU8String>);
    return info;
}

CU8String::CU8String(const CU8String& other)
    : CVolObject(other), constText_(other.constText_), buffer_(other.buffer_) {}

CU8String::CU8String(CU8String&& other) noexcept
    : CVolObject(other),
      constText_(std::exchange(other.constText_, nullptr)),
      buffer_(std::move(other.buffer_)) {}

CU8String& CU8String::operator=(const CU8String& other) {
    Assign(other);
    return *this;
}

CU8String& CU8String::operator=(CU8String&& other) noexcept {
    if (this != &other) {
        CVolObject::operator=(other);
        constText_ = std::exchange(other.constText_, nullptr);
        buffer_ = std::move(other.buffer_);
    }
    return *this;
}

CU8String::~CU8String() = default;

const CVolClassInfo& CU8String::GetClassInfo() const {
    return ClassInfo();
}

const char* CU8String::GetText() const {
    if (constText_ != nullptr) {
        return constText_;
    }
    if (buffer_.GetSize() == 0) {
        return kEmptyText;
    }
    return reinterpret_cast<const char*>(buffer_.GetData());
}

std::int64_t CU8String::GetLength() const {
    if (constText_ != nullptr) {
        return static_cast<std::int64_t>(std::strlen(constText_));
    }
    return buffer_.GetSize() < 1 ? 0 : buffer_.GetSize() - 1;
}

bool CU8String::IsEmpty() const {
    if (constText_ != nullptr) {
        return constText_[0] == 0;
    }
    return buffer_.GetSize() < 2;
}

void CU8String::SetWide(const char16_t* text) {
    constText_ = nullptr;
    CVolMem built(kGrowthStep);
    if (WideToUtf8(text, built)[0] == 0) {
        buffer_.Empty();
        return;
    }
    buffer_.SwapStorage(built);
}

void CU8String::Empty() {
    constText_ = nullptr;
    buffer_.Empty();
}

bool CU8String::IsEqual(const CVolObject& other) const {
    return CVolObject::IsEqual(other) &&
           std::string_view(GetText()) == std::string_view(static_cast<const CU8String&>(other).GetText());
}

bool CU8String::Assign(const CVolObject& other) {
    if (!CVolObject::Assign(other)) {
        return false;
    }
    const auto& text = static_cast<const CU8String&>(other);
    constText_ = text.constText_;
    buffer_ = text.buffer_;
    return true;
}

void CU8String::Reset() {
    CVolObject::Reset();
    Empty();
}

void CU8String::GetDumpText(CWString& out, int /*limit*/) const {
    out.SetUtf8(GetText());
}

// As with the wide string, a loaded buffer must end in a NUL byte, or readers would run past it.
void CU8String::LoadFromStream(CVolInStream& input) {
    Empty();
    buffer_.LoadFromStream(input);
    const std::int64_t size = buffer_.GetSize();
    if (size > 0 && buffer_.GetData()[size - 1] != 0) {
        Empty();
        input.SetStatus(CVolStream::kShortRead);
    }
}

void CU8String::SaveToStream(CVolOutStream& output) const {
    if (constText_ == nullptr) {
        buffer_.SaveToStream(output);
        return;
    }
    CVolMem owned(kGrowthStep);
    owned.Append(constText_, static_cast<std::int64_t>(std::strlen(constText_)) + 1);
    owned.SaveToStream(output);
}
