#include "runtime/CVolObjectArray.h"

#include <cstring>
#include <utility>

#include "runtime/ArrayDumpHeader.h"
#include "runtime/CWString.h"
#include "runtime/Utf8Conversion.h"

namespace {

inline constexpr std::int64_t kPointerSize = sizeof(CVolObject*);

void AppendPointer(CVolMem& elements, CVolObject* object) {
    elements.Append(&object, kPointerSize);
}

}  // namespace

const CVolClassInfo& CVolObjectArray::ClassInfo() {
    static const CVolClassInfo info("CVolObjectArray", &CVolObject::ClassInfo(),
                                    &CreateVolObject<CVolObjectArray>);
    return info;
}

CVolObjectArray::CVolObjectArray(const CVolObjectArray& other) : CVolObject(other) {
    for (std::int64_t i = 0; i < other.GetCount(); ++i) {
        AppendPointer(elements_, ElementAt(other.elements_, i)->Clone());
    }
}

CVolObjectArray::CVolObjectArray(CVolObjectArray&& other) noexcept
    : CVolObject(other), elements_(std::move(other.elements_)) {}

CVolObjectArray& CVolObjectArray::operator=(const CVolObjectArray& other) {
    Assign(other);
    return *this;
}

CVolObjectArray& CVolObjectArray::operator=(CVolObjectArray&& other) noexcept {
    if (this != &other) {
        CVolObject::operator=(other);
        DestroyElements(elements_);
        elements_.SwapStorage(other.elements_);
    }
    return *this;
}

CVolObjectArray::~CVolObjectArray() {
    DestroyElements(elements_);
}

const CVolClassInfo& CVolObjectArray::GetClassInfo() const {
    return ClassInfo();
}

CVolObject* CVolObjectArray::GetAt(std::int64_t index) const {
    return index >= 0 && index < GetCount() ? ElementAt(elements_, index) : nullptr;
}

std::int64_t CVolObjectArray::Add(CVolObject* object) {
    if (object == nullptr) {
        return -1;
    }
    AppendPointer(elements_, object);
    return GetCount() - 1;
}

void CVolObjectArray::RemoveAll() {
    DestroyElements(elements_);
}

CVolObject* CVolObjectArray::ElementAt(const CVolMem& elements, std::int64_t index) {
    CVolObject* element = nullptr;
    std::memcpy(&element, elements.GetData() + index * kPointerSize, kPointerSize);
    return element;
}

void CVolObjectArray::DestroyElements(CVolMem& elements) {
    const std::int64_t count = elements.GetSize() / kPointerSize;
    for (std::int64_t i = 0; i < count; ++i) {
        DestroyObject(ElementAt(elements, i));
    }
    elements.Empty();
}

bool CVolObjectArray::IsEqual(const CVolObject& other) const {
    if (!CVolObject::IsEqual(other)) {
        return false;
    }
    const auto& array = static_cast<const CVolObjectArray&>(other);
    if (GetCount() != array.GetCount()) {
        return false;
    }
    for (std::int64_t i = 0; i < GetCount(); ++i) {
        if (!ElementAt(elements_, i)->IsEqual(*ElementAt(array.elements_, i))) {
            return false;
        }
    }
    return true;
}

// The clones are made before the old elements go, so the source may even be one of them.
bool CVolObjectArray::Assign(const CVolObject& other) {
    if (!CVolObject::Assign(other)) {
        return false;
    }
    if (&other == this) {
        return true;
    }
    const auto& source = static_cast<const CVolObjectArray&>(other);
    CVolMem clones(kGrowthStep);
    for (std::int64_t i = 0; i < source.GetCount(); ++i) {
        AppendPointer(clones, ElementAt(source.elements_, i)->Clone());
    }
    DestroyElements(elements_);
    elements_.SwapStorage(clones);
    return true;
}

void CVolObjectArray::Reset() {
    CVolObject::Reset();
    DestroyElements(elements_);
}

void CVolObjectArray::GetDumpText(CWString& out, int limit) const {
    const std::int64_t shown = AppendArrayDumpHeader(out, GetCount(), limit);
    CVolMem nameBuffer;
    for (std::int64_t i = 0; i < shown; ++i) {
        const CVolObject* element = ElementAt(elements_, i);
        const char16_t* className = Utf8ToWide(element->GetClassInfo().GetName(), nameBuffer);
        out.AppendFormat(u"\r\n%lld. 对象输出类名: \"%s\", 地址: 0x%I64X", static_cast<long long>(i + 1),
                         className,
                         static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(element)));
        if (element->IsNullObject()) {
            out.Append(u", 为空对象");
        }
        out.Append(u", 内容:\r\n");
        CWString memberText;
        element->GetDumpText(memberText, limit);
        out.Append(memberText.GetText());
    }
}
