#include "app/main_form/BackgroundExport.h"

#include "app/export/ExportFileList.h"

BackgroundExport::~BackgroundExport() {
    Abandon();
}

bool BackgroundExport::Start(HWND window, const CWString& folder, bool includeSubfolders) {
    if (IsRunning()) {
        return false;
    }
    window_ = window;
    cancel_.Reset();
    progressWaiting_ = false;
    filesListed_ = 0;
    rowsWritten_ = 0;
    nextReport_ = std::chrono::steady_clock::time_point::min();  // the first report goes at once
    outcome_ = ExportOutcome{};
    failure_ = nullptr;
    // The thread gets a copy of its own: texts are not shared between threads.
    thread_ = std::thread(
        [this, folderCopy = CWString(folder), includeSubfolders] { Run(folderCopy, includeSubfolders); });
    return true;
}

void BackgroundExport::Cancel() {
    cancel_.Set();
}

ExportProgress BackgroundExport::TakeProgress() {
    progressWaiting_ = false;
    return ExportProgress{filesListed_.load(), rowsWritten_.load()};
}

ExportOutcome BackgroundExport::Finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
    return outcome_;
}

void BackgroundExport::Abandon() {
    Cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
    failure_ = nullptr;
}

// Nothing may leave the thread: an exception is kept for Finish, and the window always hears the end.
void BackgroundExport::Run(const CWString& folder, bool includeSubfolders) {
    try {
        ExportOptions options;
        options.observer = this;
        options.cancel = &cancel_;
        outcome_ = ExportFileList(folder, includeSubfolders, options);
    } catch (...) {
        failure_ = std::current_exception();
    }
    PostMessageW(window_, WM_EXPORT_FINISHED, 0, 0);
}

// Called on the export's thread: the figures are stored, a report is posted only when the period has
// passed and the window has read the one before.
void BackgroundExport::OnProgress(std::int64_t filesListed, std::int64_t rowsWritten) {
    filesListed_ = filesListed;
    rowsWritten_ = rowsWritten;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextReport_) {
        return;
    }
    nextReport_ = now + kExportProgressPeriod;
    if (!progressWaiting_.exchange(true)) {
        PostMessageW(window_, WM_EXPORT_PROGRESS, 0, 0);
    }
}
