#include "app/export/filesystem/HeldFileRetry.h"

#include <algorithm>

namespace {

inline constexpr std::chrono::milliseconds kFirstWait{50};

}  // namespace

HeldFileRetry::HeldFileRetry(const CancelToken* cancel, std::chrono::milliseconds limit)
    : cancel_(cancel), limit_(limit), deadline_(std::chrono::steady_clock::now() + limit) {}

std::chrono::milliseconds HeldFileRetry::WaitAfter(int refusals) {
    // Beyond 2^20 times the first wait (about 15 hours) no limit reaches: the doubling stops there.
    return kFirstWait * (1ll << std::clamp(refusals - 1, 0, 20));
}

bool HeldFileRetry::WaitForNextTry() {
    if (Cancelled()) {
        return false;
    }
    const auto left = deadline_ - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
        return false;
    }
    const auto wait = std::min<std::chrono::steady_clock::duration>(WaitAfter(++refusals_), left);
    const CancelToken& token = cancel_ != nullptr ? *cancel_ : never_;
    return !token.WaitFor(wait);
}
