#pragma once

#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "app/export/ExportObserver.h"
#include "app/export/ExportOptions.h"
#include "app/export/ExportOutcome.h"
#include "app/export/filesystem/CancelToken.h"
#include "appsvc/Win32Api.h"
#include "runtime/CWString.h"

// What the export's thread posts to the window that started it. Neither carries figures: the window
// asks for the latest ones, so that reports waiting in the queue are read as one.
inline constexpr UINT WM_EXPORT_PROGRESS = WM_APP + 1;
inline constexpr UINT WM_EXPORT_FINISHED = WM_APP + 2;

// One export on a thread of its own, so that the window that started it keeps answering. The thread
// touches no window and nothing of the window framework: it runs ExportFileList on its own copy of the
// folder text and posts WM_EXPORT_PROGRESS (as often as the export reports, a few times a second, but
// never with one still waiting) and, last, WM_EXPORT_FINISHED. Everything else happens on the window's
// thread.
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
    // Starts exporting `folder` for `window`, into `outputPath` when one is given (ExportOptions). False
    // when an export is still running.
    bool Start(HWND window, const CWString& folder, bool includeSubfolders,
               const std::u16string& outputPath = std::u16string());
    // Asks the running export to stop; it then ends as Cancelled unless it was already done.
    void Cancel();
    // The latest figures (their workbook name stays valid until the next call); the next report may be
    // posted again.
    ExportProgress TakeProgress();
    // After WM_EXPORT_FINISHED: waits for the thread and answers the outcome. An exception that left
    // the export is thrown again here, on the window's thread.
    ExportOutcome Finish();
    // Cancels and waits for the thread; the outcome is dropped.
    void Abandon();
    // Where tests step into the next exports (ExportOptions); none in the program.
    void SetSeams(const ListingSeam* listing, const PlacementSeam* placement) {
        listingSeam_ = listing;
        placementSeam_ = placement;
    }

private:
    void Run(const CWString& folder, bool includeSubfolders, const std::u16string& outputPath);
    void OnProgress(const ExportProgress& progress) override;

    HWND window_ = nullptr;
    const ListingSeam* listingSeam_ = nullptr;
    const PlacementSeam* placementSeam_ = nullptr;
    std::thread thread_;
    CancelToken cancel_;
    std::atomic<bool> progressWaiting_{false};
    // The latest report, its name copied; the window's copy of the name is `takenName_`.
    std::mutex progressLock_;
    ExportProgress progress_;
    std::u16string progressName_;
    std::u16string takenName_;
    // Written by the thread before it ends, read after it was joined.
    ExportOutcome outcome_;
    std::exception_ptr failure_;
};
