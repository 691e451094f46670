#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <thread>

#include "app/export/ExportObserver.h"
#include "app/export/ExportOutcome.h"
#include "app/export/filesystem/CancelToken.h"
#include "appsvc/Win32Api.h"
#include "runtime/CWString.h"

// What the export's thread posts to the window that started it. Neither carries figures: the window
// asks for the latest ones, so that reports waiting in the queue are read as one.
inline constexpr UINT WM_EXPORT_PROGRESS = WM_APP + 1;
inline constexpr UINT WM_EXPORT_FINISHED = WM_APP + 2;

// How often at most the window hears of progress.
inline constexpr std::chrono::milliseconds kExportProgressPeriod{250};

struct ExportProgress {
    std::int64_t filesListed = 0;
    std::int64_t rowsWritten = 0;
};

// One export on a thread of its own, so that the window that started it keeps answering. The thread
// touches no window and nothing of the window framework: it runs ExportFileList on its own copy of the
// folder text and posts WM_EXPORT_PROGRESS (at most every kExportProgressPeriod, never with one still
// waiting) and, last, WM_EXPORT_FINISHED. Everything else happens on the window's thread.
//
// The window's owner owns this object; its destructor cancels the export and waits for the thread, so
// no thread outlives what it uses.
class BackgroundExport final : private ExportObserver {
public:
    BackgroundExport() = default;
    BackgroundExport(const BackgroundExport&) = delete;
    BackgroundExport& operator=(const BackgroundExport&) = delete;
    ~BackgroundExport() override;

    // Attributes
    // From Start until Finish (or Abandon).
    bool IsRunning() const { return thread_.joinable(); }

    // Operations
    // Starts exporting `folder` for `window`. False when an export is still running.
    bool Start(HWND window, const CWString& folder, bool includeSubfolders);
    // Asks the running export to stop; it then ends as Cancelled unless it was already done.
    void Cancel();
    // The latest figures; the next report may be posted again.
    ExportProgress TakeProgress();
    // After WM_EXPORT_FINISHED: waits for the thread and answers the outcome. An exception that left
    // the export is thrown again here, on the window's thread.
    ExportOutcome Finish();
    // Cancels and waits for the thread; the outcome is dropped.
    void Abandon();

private:
    void Run(const CWString& folder, bool includeSubfolders);
    void OnProgress(std::int64_t filesListed, std::int64_t rowsWritten) override;

    HWND window_ = nullptr;
    std::thread thread_;
    CancelToken cancel_;
    std::atomic<bool> progressWaiting_{false};
    std::atomic<std::int64_t> filesListed_{0};
    std::atomic<std::int64_t> rowsWritten_{0};
    std::chrono::steady_clock::time_point nextReport_;  // the thread's own
    // Written by the thread before it ends, read after it was joined.
    ExportOutcome outcome_;
    std::exception_ptr failure_;
};
