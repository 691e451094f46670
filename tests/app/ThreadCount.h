#pragma once

#include <cstddef>

// The threads of this process, as the system counts them; 0 where they cannot be counted.
std::size_t ThreadCount();
