#pragma once

#include "app/export/filesystem/CancelToken.h"

#include <chrono>

// How long a step of putting the workbook in place is tried again when another program holds a file it
// needs (a virus scanner, the search indexer or a sync client opens every new file for a moment): about
// ten seconds in all.
inline constexpr std::chrono::milliseconds kHeldFileWaitLimit{10000};

// The waits between the tries of such a step: the first is short, each one after is twice as long (so
// a short hold costs little and a long one few tries), and all of them together stay within the limit,
// counted from the first try. The cancel token ends a wait at once.
class HeldFileRetry {
public:
    // `cancel` may be null: then nothing but the limit ends the waiting.
    HeldFileRetry(const CancelToken* cancel, std::chrono::milliseconds limit);

    // The wait after the n-th refused try (n from 1), before the limit trims it: 50 ms, 100 ms, 200 ms...
    static std::chrono::milliseconds WaitAfter(int refusals);

    // After a refused try: waits for the next one. False, without waiting, when the time is spent or the
    // token is set, and as soon as the token is set during the wait.
    bool WaitForNextTry();
    bool Cancelled() const { return cancel_ != nullptr && cancel_->IsSet(); }
    // The time all tries together may take.
    std::chrono::milliseconds Limit() const { return limit_; }

private:
    const CancelToken* cancel_;
    CancelToken never_;  // what a retry without a cancel token waits on
    std::chrono::milliseconds limit_;
    std::chrono::steady_clock::time_point deadline_;
    int refusals_ = 0;
};
