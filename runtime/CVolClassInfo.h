#pragma once

#include <cstddef>
#include <cstdint>

class CVolObject;

// The identity record of one class: creator, name, name length and name hash, plus a link to the
// record of the base class so that class tests can walk up the tree.
//
// Each class owns exactly one record, built on first use and kept until the process ends. The
// convention every class follows:
//
//     class CFoo : public CVolObject {
//     public:
//         static const CVolClassInfo& ClassInfo();
//         const CVolClassInfo& GetClassInfo() const override;
//         ...
//     };
//
//     const CVolClassInfo& CFoo::ClassInfo() {
//         static const CVolClassInfo info("CFoo", &CVolObject::ClassInfo(), &CreateVolObject<CFoo>);
//         return info;
//     }
//     const CVolClassInfo& CFoo::GetClassInfo() const { return ClassInfo(); }
//
// A class inside a namespace names itself "Namespace::CFoo". Reference-counted classes and other
// classes that are not value objects pass no creator.
class CVolClassInfo {
public:
    using Creator = CVolObject* (*)();

    // `name` must have static storage duration (a literal); the record keeps only the pointer.
    CVolClassInfo(const char* name, const CVolClassInfo* base, Creator creator = nullptr);
    CVolClassInfo(const CVolClassInfo&) = delete;
    CVolClassInfo& operator=(const CVolClassInfo&) = delete;

    // Attributes
    Creator GetCreator() const { return creator_; }
    const char* GetName() const { return name_; }
    std::int64_t GetNameLength() const { return nameLength_; }
    std::uint32_t GetHash() const { return hash_; }
    const CVolClassInfo* GetBase() const { return base_; }

    // Two records match when they are the same record, or when hash, name length and name agree, so
    // class identity holds across separately built records of one name.
    bool Matches(const CVolClassInfo& other) const;

    // True when `record` matches this record or the record of any base class, most derived first.
    bool IsKindOf(const CVolClassInfo& record) const;

    // h = h * 5 + c over the name's bytes taken as signed 8-bit values, then (h | 1) & 0x7FFFFFFF:
    // always odd and never negative.
    static std::uint32_t HashName(const char* name, std::size_t length);

private:
    Creator creator_;
    const char* name_;
    std::int64_t nameLength_;
    std::uint32_t hash_;
    const CVolClassInfo* base_;
};

// The creator of a value-object class: a new default instance, memory from the pool.
template <class T>
CVolObject* CreateVolObject() {
    return new T;
}
