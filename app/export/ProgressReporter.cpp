#include "app/export/ProgressReporter.h"

#include <algorithm>

ProgressReporter::ProgressReporter(ExportObserver* observer, const ExportCounters& counters,
                                   std::u16string_view workbookName)
    : observer_(observer),
      counters_(counters),
      workbookName_(workbookName),
      start_(std::chrono::steady_clock::now()) {
    if (observer_ != nullptr) {
        thread_ = std::thread(&ProgressReporter::Run, this);
    }
}

ProgressReporter::~ProgressReporter() {
    Stop();
}

void ProgressReporter::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    stopping_.notify_all();
    thread_.join();
}

// A clock, not a poll: the wait is for the next report's time, and a stop ends it at once.
void ProgressReporter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    auto next = std::chrono::steady_clock::now();
    for (;;) {
        if (stopping_.wait_until(lock, next, [this] { return stop_; })) {
            break;
        }
        lock.unlock();
        Report();
        lock.lock();
        next = std::max(next + kExportProgressPeriod, std::chrono::steady_clock::now());
    }
    lock.unlock();
    Report();
}

void ProgressReporter::Report() const {
    ExportProgress progress;
    progress.phase = counters_.phase.load(std::memory_order_relaxed);
    progress.foldersRead = counters_.foldersRead.load(std::memory_order_relaxed);
    progress.filesFound = counters_.filesFound.load(std::memory_order_relaxed);
    progress.rowsWritten = counters_.rowsWritten.load(std::memory_order_relaxed);
    progress.elapsed = std::chrono::steady_clock::now() - start_;
    progress.workbookName = workbookName_;
    observer_->OnProgress(progress);
}
