#pragma once

#include "app/export/ExportObserver.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

// The figures of a running export, published by its threads as they go (plain stores, no locks) and
// read by the reporter.
struct ExportCounters {
    std::atomic<ExportPhase> phase{ExportPhase::Listing};
    std::atomic<std::int64_t> foldersRead{0};
    std::atomic<std::int64_t> filesFound{0};
    std::atomic<std::int64_t> rowsWritten{0};
};

// Tells the observer the counters every kExportProgressPeriod on a thread of its own, so that progress
// keeps coming while the listing waits on a slow folder and while the workbook is packaged. Without an
// observer it starts no thread.
class ProgressReporter {
public:
    ProgressReporter(ExportObserver* observer, const ExportCounters& counters,
                     std::u16string_view workbookName);
    // Stop.
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // Ends the reports at once with one last one, the final figures; the thread is gone when it returns.
    void Stop();

private:
    void Run();
    void Report() const;

    ExportObserver* observer_;
    const ExportCounters& counters_;
    const std::u16string workbookName_;
    const std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable stopping_;
    bool stop_ = false;
    std::thread thread_;
};
