#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "runtime/CVolStream.h"

class CVolMem;

// Appends bytes to a CVolMem or a byte vector, optionally bounded: a write that would take the total
// past `limit` bytes is refused whole and sets the status to kWriteFailed, as does a write while the
// status is not good. The destination must outlive the stream.
class CVolOutStream : public CVolStream {
public:
    static inline constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

    explicit CVolOutStream(CVolMem& target, std::size_t limit = kNoLimit);
    explicit CVolOutStream(std::vector<unsigned char>& target, std::size_t limit = kNoLimit);

    // Attributes
    std::size_t GetWritten() const { return written_; }

    // Operations
    bool Write(const void* bytes, std::size_t count);
    bool WriteInt32(std::int32_t value);  // little-endian

private:
    CVolMem* memTarget_ = nullptr;
    std::vector<unsigned char>* vectorTarget_ = nullptr;
    std::size_t limit_;
    std::size_t written_ = 0;
};
