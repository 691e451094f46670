#pragma once

#include <cstdint>

// The offset of local time from UTC in force right now, in 100-nanosecond ticks (positive east of
// Greenwich). Creation dates are shown with this one offset, whatever the offset was at creation.
std::int64_t CurrentUtcOffset();
