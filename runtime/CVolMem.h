#pragma once

#include <cstdint>

#include "runtime/CVolObject.h"

// The growable byte buffer of the library: storage of the strings and arrays and a value object of its
// own. Capacity grows and shrinks in whole growth steps (64 bytes unless set otherwise) and keeps up
// to one step of slack, so that appending does not reallocate on every call. Memory comes from the
// object's memory manager; blocks of up to 256 bytes come from the pool.
//
// The data pointer is meaningful only while the size is above 0.
class CVolMem : public CVolObject {
public:
    static inline constexpr std::int64_t kDefaultGrowthStep = 64;
    static inline constexpr int kDefaultDumpLimit = 1024;

    // Construction
    CVolMem() = default;
    explicit CVolMem(std::int64_t growthStep) : growthStep_(growthStep) {}
    CVolMem(const CVolMem& other);  // deep copy, growth step included
    CVolMem(CVolMem&& other) noexcept;
    CVolMem& operator=(const CVolMem& other);  // as Assign; keeps this buffer's growth step
    CVolMem& operator=(CVolMem&& other) noexcept;
    ~CVolMem() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    unsigned char* GetData() { return data_; }
    const unsigned char* GetData() const { return data_; }
    std::int64_t GetSize() const { return size_; }
    std::int64_t GetCapacity() const { return capacity_; }
    bool IsEmpty() const { return size_ == 0; }
    std::int64_t GetGrowthStep() const { return growthStep_; }
    void SetGrowthStep(std::int64_t step) { growthStep_ = step; }  // below 1 means the default

    // Operations
    // Sets the size and returns the data pointer. 0 releases the block (and returns null); growth
    // beyond the capacity, or more than one step of slack after a shrink, resizes the block to the
    // next multiple of the step strictly above the size. A negative size changes nothing (null).
    void* SetSize(std::int64_t size);
    // For an empty buffer: allocates exactly `size` bytes and sets the size. 0 does nothing (null).
    // A buffer that already has a block is sized by SetSize instead.
    void* ReserveAndSetSize(std::int64_t size);
    // Appends `count` bytes (zeros when `bytes` is null); the bytes may lie in this buffer.
    void Append(const void* bytes, std::int64_t count);
    // Removes min(count, size - position) bytes at `position`; a negative position removes `count`
    // bytes from the end when the buffer holds more than that. A count below 1 does nothing.
    void RemoveRange(std::int64_t position, std::int64_t count);
    // UTF-16 text without its NUL (null or empty appends nothing) or with it (null or empty appends
    // one NUL code unit).
    void AppendWideText(const char16_t* text);
    void AppendWideTextWithNul(const char16_t* text);
    // Releases the block: size and capacity 0. Unlike SetSize(0), this also frees a block kept at
    // size 0 (after copying an empty source).
    void Empty();
    // Exchanges the blocks, sizes and capacities of two buffers; flags, tags and growth steps stay.
    void SwapStorage(CVolMem& other) noexcept;

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    bool IsEqual(const CVolObject& other) const override;
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    // Appends the byte dump: a header, then rows of 16 bytes in hexadecimal and as characters. The
    // limit bounds the bytes shown: 0 means kDefaultDumpLimit, a negative limit shows every byte.
    void GetDumpText(CWString& out, int limit) const override;
    // Stream form: a signed 32-bit little-endian byte count, then the bytes.
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;

private:
    std::int64_t EffectiveStep() const { return growthStep_ < 1 ? kDefaultGrowthStep : growthStep_; }
    void CopyBytesFrom(const CVolMem& source);

    unsigned char* data_ = nullptr;
    std::int64_t capacity_ = 0;
    std::int64_t size_ = 0;
    std::int64_t growthStep_ = kDefaultGrowthStep;
};
