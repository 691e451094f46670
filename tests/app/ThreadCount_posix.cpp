#include "tests/app/ThreadCount.h"

#include <filesystem>
#include <system_error>

// One entry per thread in /proc/self/task.
std::size_t ThreadCount() {
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator task("/proc/self/task", error), end; !error && task != end;
         task.increment(error)) {
        ++count;
    }
    return error ? 0 : count;
}
