#include "runtime/CVolObject.h"

#include "runtime/CVolMem.h"
#include "runtime/CWString.h"
#include "runtime/Utf8Conversion.h"

const CVolClassInfo& CVolObject::ClassInfo() {
    static const CVolClassInfo info("CVolObject", nullptr, &CreateVolObject<CVolObject>);
    return info;
}

CVolObject::~CVolObject() = default;

const CVolClassInfo& CVolObject::GetClassInfo() const {
    return ClassInfo();
}

bool CVolObject::IsEqual(const CVolObject& other) const {
    return GetClassInfo().Matches(other.GetClassInfo()) && IsNullObject() == other.IsNullObject() &&
           tag_ == other.tag_;
}

CVolObject* CVolObject::CreateNew() const {
    const CVolClassInfo::Creator creator = GetClassInfo().GetCreator();
    return creator != nullptr ? creator() : nullptr;
}

CVolObject* CVolObject::Clone() const {
    CVolObject* copy = CreateNew();
    if (copy != nullptr) {
        copy->Assign(*this);
    }
    return copy;
}

// Subclasses call this first and copy their own data only when it returns true: it makes the class
// test against this object's own (most derived) record, lets the object detach what it must, and
// copies the two root words.
bool CVolObject::Assign(const CVolObject& other) {
    if (!other.IsKindOf(GetClassInfo())) {
        return false;
    }
    PrepareReset();
    flags_ = other.flags_;
    tag_ = other.tag_;
    return true;
}

void CVolObject::Reset() {
    PrepareReset();
    flags_ = 0;
    tag_ = 0;
}

void CVolObject::Destroy() {
    delete this;
}

bool CVolObject::IsKindOf(const CVolClassInfo& record) const {
    return GetClassInfo().IsKindOf(record);
}

void CVolObject::GetDumpText(CWString& out, int /*limit*/) const {
    CVolMem nameBuffer;
    const char16_t* className = Utf8ToWide(GetClassInfo().GetName(), nameBuffer);
    out.AppendFormat(u"无法解析的对象数据,其输出类名为: \"%s\", 地址为: 0x%I64X", className,
                     static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(this)));
    if (IsNullObject()) {
        out.Append(u", 为空对象");
    }
}

void CVolObject::LoadFromStream(CVolInStream& /*input*/) {}

void CVolObject::SaveToStream(CVolOutStream& /*output*/) const {}

void CVolObject::PrepareReset() {}

void DestroyObject(CVolObject* object) {
    if (object != nullptr) {
        object->Destroy();
    }
}
