#include "runtime/CVolClassInfo.h"

#include <cstring>

CVolClassInfo::CVolClassInfo(const char* name, const CVolClassInfo* base, Creator creator)
    : creator_(creator),
      name_(name),
      nameLength_(static_cast<std::int64_t>(std::strlen(name))),
      hash_(HashName(name, std::strlen(name))),
      base_(base) {}

bool CVolClassInfo::Matches(const CVolClassInfo& other) const {
    if (this == &other) {
        return true;
    }
    return hash_ == other.hash_ && nameLength_ == other.nameLength_ &&
           std::memcmp(name_, other.name_, static_cast<std::size_t>(nameLength_)) == 0;
}

bool CVolClassInfo::IsKindOf(const CVolClassInfo& record) const {
    for (const CVolClassInfo* info = this; info != nullptr; info = info->base_) {
        if (info->Matches(record)) {
            return true;
        }
    }
    return false;
}

std::uint32_t CVolClassInfo::HashName(const char* name, std::size_t length) {
    std::uint32_t h = 0;
    for (std::size_t i = 0; i < length; ++i) {
        h = h * 5u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(name[i])));
    }
    return (h | 1u) & 0x7FFFFFFFu;
}
