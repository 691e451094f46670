#include "runtime/CVolMem.h"

#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWString.h"
#include "runtime/ExitOnOutOfMemory.h"

namespace {

inline constexpr std::int64_t kMaxSize = std::numeric_limits<std::int64_t>::max();
inline constexpr int kDumpRowBytes = 16;
inline constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// The next multiple of `step` strictly above `size`. A size so large that no such capacity can be
// represented could never be allocated either.
std::int64_t StepCapacity(std::int64_t size, std::int64_t step) {
    if (size > kMaxSize - step) {
        ExitOnOutOfMemory();
    }
    return size - size % step + step;
}

bool PointsInto(const void* pointer, const unsigned char* block, std::int64_t length) {
    const auto address = reinterpret_cast<std::uintptr_t>(pointer);
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    return block != nullptr && address >= start && address < start + static_cast<std::uintptr_t>(length);
}

// Copies of 1, 2, 4 and 8 bytes become single stores.
void CopySmallOrLarge(unsigned char* target, const unsigned char* source, std::int64_t count) {
    switch (count) {
        case 1:
            std::memcpy(target, source, 1);
            break;
        case 2:
            std::memcpy(target, source, 2);
            break;
        case 4:
            std::memcpy(target, source, 4);
            break;
        case 8:
            std::memcpy(target, source, 8);
            break;
        default:
            std::memcpy(target, source, static_cast<std::size_t>(count));
            break;
    }
}

// Printable characters of the classic locale; fixed here so that no locale setting changes the dump.
bool IsPrintableByte(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F;
}

}  // namespace

const CVolClassInfo& CVolMem::ClassInfo() {
    static const CVolClassInfo info("CVolMem", &CVolObject::ClassInfo(), &CreateVolObject<CVolMem>);
    return info;
}

CVolMem::CVolMem(const CVolMem& other) : CVolObject(other), growthStep_(other.growthStep_) {
    CopyBytesFrom(other);
}

CVolMem::CVolMem(CVolMem&& other) noexcept
    : CVolObject(other),
      data_(std::exchange(other.data_, nullptr)),
      capacity_(std::exchange(other.capacity_, 0)),
      size_(std::exchange(other.size_, 0)),
      growthStep_(other.growthStep_) {}

CVolMem& CVolMem::operator=(const CVolMem& other) {
    Assign(other);
    return *this;
}

CVolMem& CVolMem::operator=(CVolMem&& other) noexcept {
    if (this != &other) {
        CVolObject::operator=(other);
        Free(data_);
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

CVolMem::~CVolMem() {
    Free(data_);
}

const CVolClassInfo& CVolMem::GetClassInfo() const {
    return ClassInfo();
}

void* CVolMem::SetSize(std::int64_t size) {
    if (size < 0) {
        return nullptr;
    }
    if (size == size_) {
        return data_;
    }
    if (size == 0) {
        Empty();
        return nullptr;
    }
    const std::int64_t step = EffectiveStep();
    if (data_ == nullptr) {
        const std::int64_t capacity = StepCapacity(size, step);
        data_ = static_cast<unsigned char*>(Alloc(static_cast<std::size_t>(capacity)));
        capacity_ = capacity;
    } else if (size > capacity_ || capacity_ - size > step) {
        const std::int64_t capacity = StepCapacity(size, step);
        data_ = static_cast<unsigned char*>(Realloc(data_, static_cast<std::size_t>(capacity)));
        capacity_ = capacity;
    }
    size_ = size;
    return data_;
}

void* CVolMem::ReserveAndSetSize(std::int64_t size) {
    if (size <= 0) {
        return nullptr;
    }
    if (data_ != nullptr) {
        return SetSize(size);
    }
    data_ = static_cast<unsigned char*>(Alloc(static_cast<std::size_t>(size)));
    capacity_ = size;
    size_ = size;
    return data_;
}

void CVolMem::Append(const void* bytes, std::int64_t count) {
    if (count <= 0) {
        return;
    }
    if (count > kMaxSize - size_) {
        ExitOnOutOfMemory();
    }
    // The source may be part of this buffer, which the resize below can move.
    const bool aliased = PointsInto(bytes, data_, capacity_);
    const std::int64_t sourceOffset =
        aliased ? static_cast<std::int64_t>(static_cast<const unsigned char*>(bytes) - data_) : 0;
    const std::int64_t oldSize = size_;
    SetSize(oldSize + count);
    unsigned char* target = data_ + oldSize;
    if (bytes == nullptr) {
        std::memset(target, 0, static_cast<std::size_t>(count));
    } else {
        const unsigned char* source =
            aliased ? data_ + sourceOffset : static_cast<const unsigned char*>(bytes);
        std::memmove(target, source, static_cast<std::size_t>(count));
    }
}

void CVolMem::RemoveRange(std::int64_t position, std::int64_t count) {
    if (count < 1) {
        return;
    }
    if (position < 0) {
        if (size_ > count) {
            SetSize(size_ - count);
        }
        return;
    }
    if (position >= size_) {
        return;
    }
    const std::int64_t removed = count < size_ - position ? count : size_ - position;
    const std::int64_t tail = size_ - position - removed;
    if (tail > 0) {
        std::memmove(data_ + position, data_ + position + removed, static_cast<std::size_t>(tail));
    }
    SetSize(size_ - removed);
}

void CVolMem::AppendWideText(const char16_t* text) {
    if (text == nullptr || text[0] == 0) {
        return;
    }
    Append(text, static_cast<std::int64_t>(std::char_traits<char16_t>::length(text)) * 2);
}

void CVolMem::AppendWideTextWithNul(const char16_t* text) {
    if (text == nullptr || text[0] == 0) {
        Append(u"", 2);
        return;
    }
    Append(text, (static_cast<std::int64_t>(std::char_traits<char16_t>::length(text)) + 1) * 2);
}

void CVolMem::Empty() {
    Free(data_);
    data_ = nullptr;
    capacity_ = 0;
    size_ = 0;
}

void CVolMem::SwapStorage(CVolMem& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(size_, other.size_);
}

// The existing block is reused whenever it is large enough; an empty source keeps the block.
void CVolMem::CopyBytesFrom(const CVolMem& source) {
    if (&source == this) {
        return;
    }
    const std::int64_t count = source.size_;
    size_ = 0;
    if (count == 0) {
        return;
    }
    if (data_ != nullptr && capacity_ >= count) {
        size_ = count;
    } else {
        SetSize(count);
    }
    CopySmallOrLarge(data_, source.data_, count);
}

bool CVolMem::IsEqual(const CVolObject& other) const {
    if (!CVolObject::IsEqual(other)) {
        return false;
    }
    const auto& buffer = static_cast<const CVolMem&>(other);
    return size_ == buffer.size_ &&
           (size_ == 0 || std::memcmp(data_, buffer.data_, static_cast<std::size_t>(size_)) == 0);
}

bool CVolMem::Assign(const CVolObject& other) {
    if (!CVolObject::Assign(other)) {
        return false;
    }
    CopyBytesFrom(static_cast<const CVolMem&>(other));
    return true;
}

void CVolMem::Reset() {
    CVolObject::Reset();
    Empty();
}

void CVolMem::GetDumpText(CWString& out, int limit) const {
    const std::int64_t byteLimit = limit == 0 ? kDefaultDumpLimit : limit;
    std::int64_t shown = size_;
    if (byteLimit >= 0 && size_ > byteLimit) {
        shown = byteLimit;
        out.AppendFormat(u"<字节集> 总共 %lld 个字节,输出了 %lld 个,还有 %lld 个未被输出.",
                         static_cast<long long>(size_), static_cast<long long>(byteLimit),
                         static_cast<long long>(size_ - byteLimit));
    } else {
        out.AppendFormat(u"<字节集> 总共 %lld 个字节:", static_cast<long long>(size_));
    }
    // One row: "\r\n[" + 8 offset digits + "]:" + 16 * " XX" + " | " + 16 characters + NUL.
    char16_t row[3 + 8 + 2 + 3 * kDumpRowBytes + 3 + kDumpRowBytes + 1];
    for (std::int64_t offset = 0; offset < shown; offset += kDumpRowBytes) {
        const int rowBytes =
            static_cast<int>(shown - offset < kDumpRowBytes ? shown - offset : kDumpRowBytes);
        std::size_t at = 0;
        row[at++] = u'\r';
        row[at++] = u'\n';
        row[at++] = u'[';
        for (int shift = 28; shift >= 0; shift -= 4) {
            row[at++] = kHexDigits[(static_cast<std::uint64_t>(offset) >> shift) & 0xF];
        }
        row[at++] = u']';
        row[at++] = u':';
        for (int i = 0; i < rowBytes; ++i) {
            const unsigned char byte = data_[offset + i];
            row[at++] = u' ';
            row[at++] = kHexDigits[byte >> 4];
            row[at++] = kHexDigits[byte & 0xF];
        }
        // Pad a short last row so that the character column lines up with the full rows.
        for (int i = 3 * rowBytes; i < 3 * kDumpRowBytes; ++i) {
            row[at++] = u' ';
        }
        row[at++] = u' ';
        row[at++] = u'|';
        row[at++] = u' ';
        for (int i = 0; i < rowBytes; ++i) {
            const unsigned char byte = data_[offset + i];
            row[at++] = IsPrintableByte(byte) ? static_cast<char16_t>(byte) : u'.';
        }
        row[at] = 0;
        out.Append(row);
    }
}

void CVolMem::LoadFromStream(CVolInStream& input) {
    if (!input.IsGood()) {
        return;
    }
    std::int32_t count = 0;
    if (!input.ReadInt32(count)) {
        return;
    }
    if (count < 0) {
        input.SetStatus(CVolStream::kShortRead);
        return;
    }
    // A count beyond what the stream holds is a short read; it is caught before anything is
    // allocated, so a corrupt count cannot demand gigabytes.
    if (static_cast<std::uint64_t>(count) > input.GetRemaining()) {
        SetSize(0);
        input.SetStatus(CVolStream::kShortRead);
        return;
    }
    SetSize(count);
    if (count > 0 && !input.Read(data_, static_cast<std::size_t>(count))) {
        SetSize(0);
    }
}

void CVolMem::SaveToStream(CVolOutStream& output) const {
    if (!output.IsGood()) {
        return;
    }
    // Taken before writing: the stream may append to this very buffer.
    const std::int64_t size = size_;
    if (size > std::numeric_limits<std::int32_t>::max()) {
        output.SetStatus(CVolStream::kWriteFailed);  // the count would not fit its 32 bits
        return;
    }
    if (output.WriteInt32(static_cast<std::int32_t>(size))) {
        output.Write(data_, static_cast<std::size_t>(size));
    }
}
