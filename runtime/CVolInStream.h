#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/CVolStream.h"

// Reads a byte range front to back. The bytes are not copied and must outlive the stream.
class CVolInStream : public CVolStream {
public:
    CVolInStream(const void* data, std::size_t size);

    // Attributes
    std::size_t GetRemaining() const { return size_ - position_; }

    // Operations. A read delivers exactly `count` bytes or nothing: when fewer remain it sets the
    // status to kShortRead and consumes nothing. Nothing is read while the status is not good.
    bool Read(void* out, std::size_t count);
    bool ReadInt32(std::int32_t& value);  // little-endian

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
