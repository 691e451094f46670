#include "runtime/CVolInStream.h"

#include <cstring>

CVolInStream::CVolInStream(const void* data, std::size_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(data != nullptr ? size : 0) {}

bool CVolInStream::Read(void* out, std::size_t count) {
    if (!IsGood()) {
        return false;
    }
    if (count > GetRemaining()) {
        SetStatus(kShortRead);
        return false;
    }
    if (count > 0) {
        std::memcpy(out, data_ + position_, count);
        position_ += count;
    }
    return true;
}

bool CVolInStream::ReadInt32(std::int32_t& value) {
    unsigned char bytes[4];
    if (!Read(bytes, sizeof bytes)) {
        return false;
    }
    const std::uint32_t bits =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    value = static_cast<std::int32_t>(bits);
    return true;
}
