#include "runtime/CVolOutStream.h"

#include "runtime/CVolMem.h"

CVolOutStream::CVolOutStream(CVolMem& target, std::size_t limit) : memTarget_(&target), limit_(limit) {}

CVolOutStream::CVolOutStream(std::vector<unsigned char>& target, std::size_t limit)
    : vectorTarget_(&target), limit_(limit) {}

bool CVolOutStream::Write(const void* bytes, std::size_t count) {
    if (!IsGood()) {
        return false;
    }
    if (count > limit_ - written_ || (count > 0 && bytes == nullptr)) {
        SetStatus(kWriteFailed);
        return false;
    }
    if (count == 0) {
        return true;
    }
    if (memTarget_ != nullptr) {
        memTarget_->Append(bytes, static_cast<std::int64_t>(count));
    } else {
        const auto* first = static_cast<const unsigned char*>(bytes);
        vectorTarget_->insert(vectorTarget_->end(), first, first + count);
    }
    written_ += count;
    return true;
}

bool CVolOutStream::WriteInt32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                    static_cast<unsigned char>(bits >> 16),
                                    static_cast<unsigned char>(bits >> 24)};
    return Write(bytes, sizeof bytes);
}
